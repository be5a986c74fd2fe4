#pragma once

#include "screens/common/ScreenController.h"

namespace ui {
class NavigationController;
}

class LogTableController;

// The page that shows hardware and operating-system facts, mailable as a report.
class DetailsTableController : public ScreenController {
    Q_OBJECT
public:
    explicit DetailsTableController(QObject* parent = nullptr);

    // Outlets wired by the main window description.
    ui::NavigationController* navigController = nullptr;
    LogTableController* logController = nullptr;
};
