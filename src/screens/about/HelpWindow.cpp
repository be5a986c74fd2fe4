#include "screens/about/HelpWindow.h"

#include "screens/ScreensLog.h"

#include <BuildStamp.h>

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser)
{
    setWindowTitle(QStringLiteral("Welvane Help"));
    setAccessibleName(QStringLiteral("Welvane Help"));
    // Links out of the page go to the web browser, not into this window.
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 720);
}

void HelpWindow::showPage(const QString& page, const QString& anchor)
{
    QUrl url = QUrl::fromLocalFile(page);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    // Shown first: the anchor's place depends on the laid-out width.
    show();
    raise();
    activateWindow();
    if (m_browser->source().adjusted(QUrl::RemoveFragment) != url.adjusted(QUrl::RemoveFragment))
        m_browser->setSource(url);
    // Also when only the fragment changes, which setSource() would not scroll for.
    if (anchor.isEmpty())
        m_browser->verticalScrollBar()->setValue(0);
    else
        m_browser->scrollToAnchor(anchor);
}

QStringList HelpWindow::candidates(const QString& applicationDir)
{
    return {QDir::cleanPath(applicationDir + QStringLiteral("/../share/welvane/help.html")),
            QStringLiteral(WELVANE_INSTALLED_HELP_PAGE), QStringLiteral(WELVANE_BUILD_HELP_PAGE)};
}

QString HelpWindow::locate(const QString& applicationDir)
{
    for (const QString& path : candidates(applicationDir)) {
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable())
            return info.absoluteFilePath();
    }
    return {};
}
