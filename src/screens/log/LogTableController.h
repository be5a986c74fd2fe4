#pragma once

#include "screens/common/ScreenController.h"

// The page that shows the system log, newest first, with a search field.
class LogTableController : public ScreenController {
    Q_OBJECT
public:
    explicit LogTableController(QObject* parent = nullptr);
};
