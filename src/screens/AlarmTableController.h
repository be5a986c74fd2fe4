#pragma once

#include "screens/ScreenController.h"

namespace ui {
class NavigationController;
}

// The page that shows the full-charge alarm's type and trigger.
class AlarmTableController : public ScreenController {
    Q_OBJECT
public:
    explicit AlarmTableController(QObject* parent = nullptr);

    // Outlets wired by the main window description.
    ui::NavigationController* navigController = nullptr;
};
