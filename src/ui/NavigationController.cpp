#include "ui/NavigationController.h"

#include "ui/NavigationBar.h"

#include <QStackedWidget>
#include <QVBoxLayout>

namespace ui {

NavigationController::NavigationController(ViewController* root, QObject* parent)
    : ViewController(parent)
{
    if (root) {
        m_stack.append(root);
        root->setNavigationController(this);
    }
}

QWidget* NavigationController::loadView()
{
    auto* view = new QWidget;
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_bar = new NavigationBar(this, view);
    m_pages = new QStackedWidget(view);
    layout->addWidget(m_bar);
    layout->addWidget(m_pages, 1);
    if (ViewController* top = topViewController()) {
        m_pages->addWidget(top->view());
        m_pages->setCurrentWidget(top->view());
    }
    m_bar->refresh();
    return view;
}

NavigationBar* NavigationController::navigationBar()
{
    view();
    return m_bar;
}

void NavigationController::show(ViewController* incoming, ViewController* outgoing, bool animated)
{
    // Animations are left out on purpose: the page changes at once.
    const bool visible = isAppearing();
    if (visible && outgoing && outgoing != incoming)
        outgoing->beginDisappearance(animated);
    if (isViewLoaded() && incoming) {
        QWidget* page = incoming->view();
        if (m_pages->indexOf(page) < 0)
            m_pages->addWidget(page);
        if (visible && incoming != outgoing)
            incoming->beginAppearance(animated);
        m_pages->setCurrentWidget(page);
    } else if (visible && incoming && incoming != outgoing) {
        incoming->beginAppearance(animated);
    }
    if (isViewLoaded()) {
        // Keep only the stack's pages in the widget stack.
        for (int i = m_pages->count() - 1; i >= 0; --i) {
            QWidget* w = m_pages->widget(i);
            bool inStack = false;
            for (ViewController* vc : m_stack)
                inStack = inStack || (vc->isViewLoaded() && vc->view() == w);
            if (!inStack)
                m_pages->removeWidget(w);
        }
        m_bar->refresh();
    }
    if (visible && outgoing && outgoing != incoming)
        outgoing->endDisappearance(animated);
    if (visible && incoming && incoming != outgoing)
        incoming->endAppearance(animated);
    Q_EMIT stackChanged();
}

void NavigationController::pushViewController(ViewController* controller, bool animated)
{
    if (!controller || m_stack.contains(controller))
        return;
    ViewController* outgoing = topViewController();
    m_stack.append(controller);
    controller->setNavigationController(this);
    show(controller, outgoing, animated);
}

ViewController* NavigationController::popViewControllerAnimated(bool animated)
{
    if (m_stack.size() <= 1)
        return nullptr;
    ViewController* outgoing = m_stack.takeLast();
    show(topViewController(), outgoing, animated);
    outgoing->setNavigationController(nullptr);
    return outgoing;
}

QList<ViewController*> NavigationController::popToRootViewControllerAnimated(bool animated)
{
    QList<ViewController*> popped;
    if (m_stack.size() <= 1)
        return popped;
    ViewController* outgoing = topViewController();
    popped = m_stack.mid(1);
    m_stack = m_stack.mid(0, 1);
    show(topViewController(), outgoing, animated);
    for (ViewController* vc : popped)
        vc->setNavigationController(nullptr);
    return popped;
}

void NavigationController::setViewControllers(const QList<ViewController*>& controllers,
                                              bool animated)
{
    ViewController* outgoing = topViewController();
    m_stack = controllers;
    for (ViewController* vc : m_stack)
        vc->setNavigationController(this);
    show(topViewController(), outgoing, animated);
}

void NavigationController::viewWillAppear(bool animated)
{
    if (ViewController* top = topViewController())
        top->beginAppearance(animated);
}

void NavigationController::viewDidAppear(bool animated)
{
    if (ViewController* top = topViewController())
        top->endAppearance(animated);
}

void NavigationController::viewWillDisappear(bool animated)
{
    if (ViewController* top = topViewController())
        top->beginDisappearance(animated);
}

void NavigationController::viewDidDisappear(bool animated)
{
    if (ViewController* top = topViewController())
        top->endDisappearance(animated);
}

} // namespace ui
