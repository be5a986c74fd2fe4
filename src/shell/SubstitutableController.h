#pragma once

namespace ui {
class BarButtonItem;
}

// A page holder that can carry the "Page List" button in its bar.
class SubstitutableController {
public:
    virtual ~SubstitutableController() = default;
    virtual void invalidateRootPopoverButtonItem() = 0;
    virtual void showRootPopoverButtonItem(ui::BarButtonItem* barButtonItem) = 0;
};
