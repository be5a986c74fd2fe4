#pragma once

namespace ui {
class BarButtonItem;
class Popover;
class ViewController;
} // namespace ui

class QuillSplitViewController;

// Told when the split view hides its master pane in a popover (the delegate
// shows the button that opens it) and when the pane comes back.
class QuillSplitViewControllerDelegate {
public:
    virtual ~QuillSplitViewControllerDelegate() = default;
    virtual void splitViewControllerWillHideViewController(QuillSplitViewController* svc,
                                                           ui::ViewController* master,
                                                           ui::BarButtonItem* barButtonItem,
                                                           ui::Popover* popover) = 0;
    virtual void splitViewControllerWillShowViewController(QuillSplitViewController* svc,
                                                           ui::ViewController* master,
                                                           ui::BarButtonItem* barButtonItem) = 0;
};
