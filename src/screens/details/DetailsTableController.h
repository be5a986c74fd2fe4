#pragma once

#include "screens/common/ScreenController.h"

class LogTableController;

// The page that shows hardware and operating-system facts, mailable as a report.
class DetailsTableController : public ScreenController {
    Q_OBJECT
public:
    // log is the page the system-log row pushes.
    explicit DetailsTableController(LogTableController& log, QObject* parent = nullptr);

protected:
    LogTableController& m_log;
};
