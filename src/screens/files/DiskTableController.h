#pragma once

#include "screens/common/ScreenController.h"

// The page that shows counts of the media library.
class DiskTableController : public ScreenController {
    Q_OBJECT
public:
    explicit DiskTableController(QObject* parent = nullptr);
};
