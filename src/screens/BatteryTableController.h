#pragma once

#include "screens/ScreenController.h"

namespace ui {
class NavigationController;
}

class AlarmTableController;

// The page that shows estimated battery work time, battery health and the alarm setting.
class BatteryTableController : public ScreenController {
    Q_OBJECT
public:
    explicit BatteryTableController(QObject* parent = nullptr);

    // Outlets wired by the main window description.
    ui::NavigationController* navigController = nullptr;
    AlarmTableController* alarmController = nullptr;
};
