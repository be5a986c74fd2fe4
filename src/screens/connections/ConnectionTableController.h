#pragma once

#include "screens/common/ScreenController.h"

// The page that shows open TCP and UDP endpoints by protocol.
class ConnectionTableController : public ScreenController {
    Q_OBJECT
public:
    explicit ConnectionTableController(QObject* parent = nullptr);
};
