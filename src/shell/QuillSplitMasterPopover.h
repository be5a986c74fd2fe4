#pragma once

#include "ui/BarButtonItem.h"
#include "ui/Popover.h"

#include <QPointer>

class QuillSplitViewController;
class QuillSplitViewControllerDelegate;
class QWidget;

namespace ui {
class ViewController;
}

// The popover that holds a hidden master and the bar button that opens it:
// made and released together, the delegate told in the split view's order.
class QuillSplitMasterPopover {
public:
    explicit QuillSplitMasterPopover(QuillSplitViewController& splitViewController);
    ~QuillSplitMasterPopover();
    QuillSplitMasterPopover(const QuillSplitMasterPopover&) = delete;
    QuillSplitMasterPopover& operator=(const QuillSplitMasterPopover&) = delete;

    ui::Popover* popover() const { return m_popover; }
    ui::BarButtonItem* button() const { return m_button; }

    // Into a new popover: the master disappears, the button is made with
    // the "Master" title, then the delegate hears willHide.
    void moveIn(ui::ViewController* master, QuillSplitViewControllerDelegate* delegate);
    // Out of it: the popover goes (handing the master's view back), the
    // delegate hears willShow with the old button, then the button goes.
    void moveOut(ui::ViewController* master, QuillSplitViewControllerDelegate* delegate);
    void dismissIfVisible();
    // Opens the popover under anchor, telling the delegate first when it
    // was closed.
    void present(ui::ViewController* master, QuillSplitViewControllerDelegate* delegate,
                 QWidget* anchor);

private:
    QuillSplitViewController& m_split;
    QPointer<ui::Popover> m_popover;
    QPointer<ui::BarButtonItem> m_button;
};
