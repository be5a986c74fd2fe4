#pragma once

#include <QSizeF>

#include <optional>

namespace ui {
class BarButtonItem;
class Popover;
class ViewController;
} // namespace ui

class QuillSplitViewController;

// Told when the split view hides its master pane in a popover (the delegate
// shows the button that opens it), when the pane comes back, and when the
// split moves or turns. Every operation is optional: the defaults do nothing.
class QuillSplitViewControllerDelegate {
public:
    virtual ~QuillSplitViewControllerDelegate() = default;

    // Just before the hidden master shows in its popover.
    virtual void
    splitViewControllerPopoverControllerWillPresentViewController(QuillSplitViewController*,
                                                                  ui::Popover*, ui::ViewController*)
    {
    }
    // The master has just moved into a new popover opened by barButtonItem.
    virtual void splitViewControllerWillHideViewController(QuillSplitViewController*,
                                                           ui::ViewController*,
                                                           ui::BarButtonItem* /*barButtonItem*/,
                                                           ui::Popover*)
    {
    }
    // The master leaves its popover; barButtonItem is about to go.
    virtual void splitViewControllerWillShowViewController(QuillSplitViewController*,
                                                           ui::ViewController*,
                                                           ui::BarButtonItem* /*barButtonItem*/)
    {
    }
    // A value replaces the proposed position and the built-in limits are
    // skipped; nullopt leaves the limits to the split view.
    virtual std::optional<double>
    splitViewControllerConstrainSplitPosition(QuillSplitViewController*, double /*proposed*/,
                                              QSizeF /*splitViewSize*/)
    {
        return std::nullopt;
    }
    virtual void splitViewControllerWillMoveSplitToPosition(QuillSplitViewController*,
                                                            double /*position*/)
    {
    }
    virtual void splitViewControllerWillChangeSplitOrientationToVertical(QuillSplitViewController*,
                                                                         bool /*vertical*/)
    {
    }
};
