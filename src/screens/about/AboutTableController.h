#pragma once

#include "screens/common/ScreenController.h"

// The page that shows program information, links and feedback.
class AboutTableController : public ScreenController {
    Q_OBJECT
public:
    explicit AboutTableController(QObject* parent = nullptr);
};
