#include "ui/ViewController.h"

#include "ui/NavigationItem.h"

namespace ui {

ViewController::ViewController(QObject* parent)
    : QObject(parent), m_navigationItem(new NavigationItem(this))
{
}

ViewController::~ViewController()
{
    delete m_view.data();
}

QWidget* ViewController::view()
{
    if (!m_view && !m_loading) {
        m_loading = true;
        m_view = loadView();
        m_view->setAccessibleName(m_title);
        m_loading = false;
        viewDidLoad();
    }
    return m_view.data();
}

QWidget* ViewController::loadView()
{
    return new QWidget;
}

void ViewController::setTitle(const QString& title)
{
    m_title = title;
    m_navigationItem->setTitle(title);
    if (m_view)
        m_view->setAccessibleName(title);
    Q_EMIT titleChanged(title);
}

void ViewController::setTabBarItem(const QString& title, const QIcon& icon)
{
    m_tabTitle = title;
    m_tabIcon = icon;
}

void ViewController::viewWillAppear(bool) {}
void ViewController::viewDidAppear(bool) {}
void ViewController::viewWillDisappear(bool) {}
void ViewController::viewDidDisappear(bool) {}

bool ViewController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const
{
    return orientation == InterfaceOrientation::Portrait;
}

void ViewController::beginAppearance(bool animated)
{
    if (m_appearing)
        return;
    m_appearing = true;
    view();
    viewWillAppear(animated);
}

void ViewController::endAppearance(bool animated)
{
    if (m_appearing)
        viewDidAppear(animated);
}

void ViewController::beginDisappearance(bool animated)
{
    if (!m_appearing)
        return;
    m_appearing = false;
    viewWillDisappear(animated);
}

void ViewController::endDisappearance(bool animated)
{
    if (!m_appearing)
        viewDidDisappear(animated);
}

} // namespace ui
