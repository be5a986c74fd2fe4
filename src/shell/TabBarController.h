#pragma once

#include "ui/TabBarController.h"

// The small-screen root. A desktop window does not rotate, but the rule is
// kept as an answer callers can ask for: portrait only.
class TabBarController : public ui::TabBarController {
    Q_OBJECT
public:
    using ui::TabBarController::TabBarController;

    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation orientation) const override
    {
        return orientation == ui::InterfaceOrientation::Portrait;
    }
};
