#pragma once

#include "shell/QuillSplitViewControllerDelegate.h"
#include "ui/TableViewController.h"

#include <QPointer>

class QLabel;
class AboutTableController;
class BatteryTableController;
class ConnectionTableController;
class DetailNavigationController;
class DetailsTableController;
class DiskTableController;
class GeneralTableController;
class LogTableController;
class MemoryTableController;
class ProcessesTableController;
class QuillSplitViewController;
class RouteTableController;

// The page list of large screens: ten rows, each showing one page in the
// detail pane. While the split view hides the list, it lives in a popover and
// the detail's bar carries the "Page List" button.
class RootViewController : public ui::TableViewController, public QuillSplitViewControllerDelegate {
    Q_OBJECT
public:
    explicit RootViewController(QObject* parent = nullptr);
    ~RootViewController() override;

    static constexpr int kPageCount = 10;
    static QString pageTitle(int row);
    static QString pageIconName(int row);
    // The controller shown for a row, or nullptr outside 0..9.
    ui::ViewController* pageController(int row) const;

    int numberOfRowsInSection(ui::TableView*, int) override { return kPageCount; }
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView* tableView, ui::IndexPath indexPath) override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override
    {
        return true;
    }

    void splitViewControllerWillHideViewController(QuillSplitViewController* svc,
                                                   ui::ViewController* master,
                                                   ui::BarButtonItem* barButtonItem,
                                                   ui::Popover* popover) override;
    void splitViewControllerWillShowViewController(QuillSplitViewController* svc,
                                                   ui::ViewController* master,
                                                   ui::BarButtonItem* barButtonItem) override;

    void selectFirstRow();
    // An image view of the named icon with its origin at (10, 9).
    QLabel* getImageView(const QString& imageName) const;
    QSize contentSizeForViewInPopover() const { return m_popoverSize; }

    // Outlets (not owned).
    QuillSplitViewController* splitViewController = nullptr;
    GeneralTableController* generalTableController = nullptr;
    BatteryTableController* batteryTableController = nullptr;
    MemoryTableController* memoryTableController = nullptr;
    ProcessesTableController* processTableController = nullptr;
    DetailsTableController* detailsTableController = nullptr;
    AboutTableController* aboutTableController = nullptr;
    DiskTableController* diskTableController = nullptr;
    RouteTableController* routeTableController = nullptr;
    ConnectionTableController* connectionTableController = nullptr;
    LogTableController* logTableController = nullptr;
    DetailNavigationController* detailNavigController = nullptr;

    // Held while the list sits in a popover; both null while it is shown.
    QPointer<ui::Popover> popoverController;
    QPointer<ui::BarButtonItem> rootPopoverButtonItem;

private:
    QSize m_popoverSize;
};
