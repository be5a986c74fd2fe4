#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;

// The help page that ships with the program, shown in a window of its own so
// help works offline and the FAQ opens at its place (a desktop's URL handler
// may drop the fragment of a file address).
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads `page` (a local HTML file) and scrolls to `anchor`, or to the top
    // when it is empty; then raises the window.
    void showPage(const QString& page, const QString& anchor = {});
    QTextBrowser* browser() const { return m_browser; }

    // Where the help page may be, in order: beside an installed program
    // (<prefix>/share/welvane/help.html for <prefix>/bin), the configured
    // install prefix, the build tree.
    static QStringList candidates(const QString& applicationDir);
    // The first candidate that is a readable file; empty when none is.
    static QString locate(const QString& applicationDir);

private:
    QTextBrowser* m_browser;
};
