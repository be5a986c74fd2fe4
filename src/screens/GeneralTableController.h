#pragma once

#include "screens/ScreenController.h"

namespace ui {
class NavigationController;
}

class BatteryTableController;
class DiskTableController;
class RouteTableController;
class ConnectionTableController;

// The page that shows the Overview: battery, disk, CPU, load, uptime and network at a glance.
class GeneralTableController : public ScreenController {
    Q_OBJECT
public:
    explicit GeneralTableController(QObject* parent = nullptr);

    // Stops the full-charge alarm if it is sounding.
    virtual void stopAudioPlayer() {}

    // Outlets wired by the main window description.
    BatteryTableController* batteryController = nullptr;
    DiskTableController* diskController = nullptr;
    RouteTableController* routeController = nullptr;
    ConnectionTableController* connectionController = nullptr;
    ui::NavigationController* navigController = nullptr;
};
