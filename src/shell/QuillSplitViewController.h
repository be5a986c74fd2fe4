#pragma once

#include "ui/ViewController.h"

#include <QPointer>

namespace ui {
class BarButtonItem;
class Popover;
} // namespace ui

class QuillSplitViewControllerDelegate;

// The large-screen root: the page list (master) beside the current page
// (detail) with a one-point divider. While the window is narrower than tall
// the master moves into a popover opened by a bar button that the delegate
// places in the detail's bar.
class QuillSplitViewController : public ui::ViewController {
    Q_OBJECT
public:
    explicit QuillSplitViewController(QObject* parent = nullptr);
    ~QuillSplitViewController() override;

    ui::ViewController* masterViewController() const { return m_master; }
    void setMasterViewController(ui::ViewController* master);
    ui::ViewController* detailViewController() const { return m_detail; }
    void setDetailViewController(ui::ViewController* detail);
    QuillSplitViewControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(QuillSplitViewControllerDelegate* delegate) { m_delegate = delegate; }

    double splitPosition() const { return m_splitPosition; }
    double splitWidth() const { return m_splitWidth; }
    // Landscape: the container is wider than tall.
    bool isLandscape() const;
    bool isShowingMaster() const;
    ui::BarButtonItem* barButtonItem() const { return m_barButtonItem; }
    ui::Popover* hiddenPopoverController() const { return m_popover; }

    // Places the panes for the current size and moves the master into or
    // out of its popover when the orientation changed.
    void layoutSubviews();
    void showMasterPopover();

    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override
    {
        return true;
    }
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

protected:
    QWidget* loadView() override;

private:
    void reconfigureForMasterInPopover(bool inPopover);

    QPointer<ui::ViewController> m_master;
    QPointer<ui::ViewController> m_detail;
    QuillSplitViewControllerDelegate* m_delegate = nullptr;
    ui::BarButtonItem* m_barButtonItem = nullptr;
    ui::Popover* m_popover = nullptr;
    QWidget* m_divider = nullptr;
    double m_splitPosition = 256.0;
    double m_splitWidth = 1.0;
    bool m_masterInPopover = false;
};
