#pragma once

#include "shell/QuillSplitViewControllerDelegate.h"
#include "ui/TableViewController.h"

#include <QPointer>

#include <array>

class QLabel;
class DetailNavigationController;
class QuillSplitViewController;

// The page list of large screens: ten rows, each showing one page in the
// detail pane. While the split view hides the list, it lives in a popover and
// the detail's bar carries the "Page List" button.
class RootViewController : public ui::TableViewController, public QuillSplitViewControllerDelegate {
    Q_OBJECT
public:
    static constexpr int kPageCount = 10;
    // The pages in list order: Overview, Work Time, File Statistics,
    // Connections, Routing Table, Memory, Processes, Details, System Log, About.
    using Pages = std::array<ui::ViewController*, kPageCount>;

    // The list shows pages in splitViewController's detail, which is detail.
    RootViewController(Pages pages, QuillSplitViewController& splitViewController,
                       DetailNavigationController& detail, QObject* parent = nullptr);
    ~RootViewController() override;

    static QString pageTitle(int row);
    static QString pageIconName(int row);
    // The controller shown for a row, or nullptr outside 0..9.
    ui::ViewController* pageController(int row) const;
    // The row that shows a page, or -1 for a page not on the list.
    int rowOfPage(const ui::ViewController* page) const;

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

    // Held while the list sits in a popover; both null while it is shown.
    QPointer<ui::Popover> popoverController;
    QPointer<ui::BarButtonItem> rootPopoverButtonItem;

private:
    Pages m_pages;
    // Cleared when the view unloads.
    QuillSplitViewController* m_split;
    DetailNavigationController& m_detail;
    QSize m_popoverSize;
};
