#pragma once

#include "host/Journal.h"

#include <QString>

#include <optional>

// One system-log record with what the screen shows and searches worked out
// once, when the window is read, rather than on every row or keystroke.
struct LogEntry {
    LogRecord record;         // every key the source gave
    double time = 0;          // "Time" as a number (0 when absent)
    std::optional<int> level; // "Level" as a number, absent when missing
    QString timeText;         // "Time" in the medium date and time style
    QString senderText;       // "Sender [PID]"
    QString message;          // the whole "Message": Copy gives this
    QString shownMessage;     // the message as shown, cut when huge

    // Messages longer than this are shown cut, with "…".
    static constexpr qsizetype kMaxShown = 64 * 1024;
};
