#pragma once

#include "screens/common/ScreenController.h"

// The page that shows the division of physical memory and the paging counters.
class MemoryTableController : public ScreenController {
    Q_OBJECT
public:
    explicit MemoryTableController(QObject* parent = nullptr);
};
