#pragma once

#include "ui/ViewController.h"

#include <QList>

class QStackedWidget;
class QToolButton;

namespace ui {

class TabBarControllerDelegate;

// Pages behind a row of tabs at the bottom; one page shows at a time.
class TabBarController : public ViewController {
    Q_OBJECT
public:
    explicit TabBarController(QObject* parent = nullptr);

    void setViewControllers(const QList<ViewController*>& controllers);
    QList<ViewController*> viewControllers() const { return m_controllers; }

    int selectedIndex() const { return m_selected; }
    // Shows a tab without telling the delegate, as a program would.
    void setSelectedIndex(int index);
    ViewController* selectedViewController() const;
    // A tap on a tab: shows it and tells the delegate.
    void selectTabByUser(int index);

    void setDelegate(TabBarControllerDelegate* delegate) { m_delegate = delegate; }
    TabBarControllerDelegate* delegate() const { return m_delegate; }
    QToolButton* tabButton(int index) const;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

protected:
    QWidget* loadView() override;

private:
    void rebuildTabs();

    QList<ViewController*> m_controllers;
    QList<QToolButton*> m_buttons;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_bar = nullptr;
    TabBarControllerDelegate* m_delegate = nullptr;
    int m_selected = 0;
};

} // namespace ui
