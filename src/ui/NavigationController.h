#pragma once

#include "ui/ViewController.h"

#include <QList>

class QStackedWidget;

namespace ui {

class NavigationBar;

// A stack of pages under a navigation bar. Pushing shows a page on top,
// popping goes back; only the top page's view is shown.
class NavigationController : public ViewController {
    Q_OBJECT
public:
    explicit NavigationController(ViewController* root = nullptr, QObject* parent = nullptr);

    QList<ViewController*> viewControllers() const { return m_stack; }
    ViewController* topViewController() const
    {
        return m_stack.isEmpty() ? nullptr : m_stack.last();
    }
    ViewController* visibleViewController() const { return topViewController(); }
    NavigationBar* navigationBar();

    void pushViewController(ViewController* controller, bool animated);
    ViewController* popViewControllerAnimated(bool animated);
    QList<ViewController*> popToRootViewControllerAnimated(bool animated);
    void setViewControllers(const QList<ViewController*>& controllers, bool animated);

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

Q_SIGNALS:
    void stackChanged();

protected:
    QWidget* loadView() override;

private:
    void show(ViewController* incoming, ViewController* outgoing, bool animated);

    QList<ViewController*> m_stack;
    QStackedWidget* m_pages = nullptr;
    NavigationBar* m_bar = nullptr;
};

} // namespace ui
