#pragma once

#include "screens/common/ScreenController.h"

// The page that shows running processes grouped by user.
class ProcessesTableController : public ScreenController {
    Q_OBJECT
public:
    explicit ProcessesTableController(QObject* parent = nullptr);
};
