#include "ui/TabBarController.h"

#include "ui/FocusMark.h"
#include "ui/Font.h"
#include "ui/TabBarControllerDelegate.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace ui {

namespace {
constexpr int kTabBarHeight = 49;

// Tab icons are silhouettes: grey while unselected, white when selected,
// whatever colour the artwork has.
QPixmap tinted(const QPixmap& source, const QColor& color)
{
    QPixmap out(source.size());
    out.setDevicePixelRatio(source.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawPixmap(0, 0, source);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(QRect(QPoint(0, 0), source.deviceIndependentSize().toSize()), color);
    return out;
}

QIcon tabIcon(const QIcon& icon)
{
    if (icon.isNull())
        return icon;
    const QPixmap base = icon.pixmap(QSize(30, 30));
    QIcon out;
    out.addPixmap(tinted(base, QColor(154, 154, 154)), QIcon::Normal, QIcon::Off);
    out.addPixmap(tinted(base, Qt::white), QIcon::Normal, QIcon::On);
    return out;
}
} // namespace

TabBarController::TabBarController(QObject* parent) : ViewController(parent) {}

QWidget* TabBarController::loadView()
{
    auto* view = new QWidget;
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pages = new QStackedWidget(view);
    m_bar = new QWidget(view);
    m_bar->setFixedHeight(kTabBarHeight);
    m_bar->setAccessibleName(QStringLiteral("tab bar"));
    m_bar->setAutoFillBackground(true);
    m_bar->setStyleSheet(
        QStringLiteral(
            "QWidget { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3a3a3a,"
            " stop:0.5 #1e1e1e, stop:1 #000000); }"
            "QToolButton { color: #9a9a9a; border: none; border-radius: 4px; }"
            "QToolButton:checked { color: white; background: rgba(255,255,255,40); }") +
        FocusMark::styleRule(QStringLiteral("QToolButton")));
    new QHBoxLayout(m_bar);
    m_bar->layout()->setContentsMargins(2, 2, 2, 2);
    m_bar->layout()->setSpacing(2);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_bar);
    rebuildTabs();
    return view;
}

void TabBarController::rebuildTabs()
{
    if (!m_pages)
        return;
    qDeleteAll(m_buttons);
    m_buttons.clear();
    while (m_pages->count() > 0)
        m_pages->removeWidget(m_pages->widget(0));
    for (int i = 0; i < m_controllers.size(); ++i) {
        ViewController* vc = m_controllers[i];
        auto* button = new QToolButton(m_bar);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setText(vc->tabBarTitle());
        button->setIcon(tabIcon(vc->tabBarIcon()));
        button->setIconSize(QSize(30, 30));
        button->setFont(Font::boldSystemFont(10));
        button->setCheckable(true);
        button->setAccessibleName(vc->tabBarTitle());
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QToolButton::clicked, this, [this, i] { selectTabByUser(i); });
        m_bar->layout()->addWidget(button);
        m_buttons.append(button);
    }
    if (ViewController* vc = selectedViewController()) {
        m_pages->addWidget(vc->view());
        m_pages->setCurrentWidget(vc->view());
    }
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setChecked(i == m_selected);
}

void TabBarController::setViewControllers(const QList<ViewController*>& controllers)
{
    m_controllers = controllers;
    m_selected = controllers.isEmpty() ? 0 : std::clamp(m_selected, 0, int(controllers.size()) - 1);
    rebuildTabs();
}

ViewController* TabBarController::selectedViewController() const
{
    if (m_selected < 0 || m_selected >= m_controllers.size())
        return nullptr;
    return m_controllers[m_selected];
}

QToolButton* TabBarController::tabButton(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void TabBarController::setSelectedIndex(int index)
{
    if (index < 0 || index >= m_controllers.size())
        return;
    ViewController* outgoing = selectedViewController();
    ViewController* incoming = m_controllers[index];
    m_selected = index;
    const bool visible = isAppearing();
    if (visible && outgoing != incoming) {
        outgoing->beginDisappearance(false);
        incoming->beginAppearance(false);
    }
    if (m_pages) {
        if (m_pages->indexOf(incoming->view()) < 0)
            m_pages->addWidget(incoming->view());
        m_pages->setCurrentWidget(incoming->view());
        if (outgoing && outgoing != incoming && outgoing->isViewLoaded())
            m_pages->removeWidget(outgoing->view());
        for (int i = 0; i < m_buttons.size(); ++i)
            m_buttons[i]->setChecked(i == m_selected);
    }
    if (visible && outgoing != incoming) {
        outgoing->endDisappearance(false);
        incoming->endAppearance(false);
    }
}

void TabBarController::selectTabByUser(int index)
{
    if (index < 0 || index >= m_controllers.size())
        return;
    setSelectedIndex(index);
    if (m_delegate)
        m_delegate->tabBarControllerDidSelectViewController(this, m_controllers[index]);
}

void TabBarController::viewWillAppear(bool animated)
{
    if (ViewController* vc = selectedViewController())
        vc->beginAppearance(animated);
}

void TabBarController::viewDidAppear(bool animated)
{
    if (ViewController* vc = selectedViewController())
        vc->endAppearance(animated);
}

void TabBarController::viewWillDisappear(bool animated)
{
    if (ViewController* vc = selectedViewController())
        vc->beginDisappearance(animated);
}

void TabBarController::viewDidDisappear(bool animated)
{
    if (ViewController* vc = selectedViewController())
        vc->endDisappearance(animated);
}

} // namespace ui
