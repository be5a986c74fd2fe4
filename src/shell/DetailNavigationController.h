#pragma once

#include "shell/SubstitutableController.h"
#include "ui/NavigationController.h"

namespace ui {
class NavigationBar;
}

// The right-hand pane on large screens: the chosen page on a navigation
// stack whose bar can carry the "Page List" button.
class DetailNavigationController : public ui::NavigationController, public SubstitutableController {
    Q_OBJECT
public:
    explicit DetailNavigationController(ui::ViewController* root = nullptr,
                                        QObject* parent = nullptr);

    ui::NavigationBar* navigBar() { return navigationBar(); }

    void invalidateRootPopoverButtonItem() override;
    void showRootPopoverButtonItem(ui::BarButtonItem* barButtonItem) override;

    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override
    {
        return true;
    }
};
