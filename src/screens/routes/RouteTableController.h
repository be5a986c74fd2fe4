#pragma once

#include "screens/common/ScreenController.h"

// The page that shows the kernel routing table by address family.
class RouteTableController : public ScreenController {
    Q_OBJECT
public:
    explicit RouteTableController(QObject* parent = nullptr);
};
