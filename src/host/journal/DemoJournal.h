#pragma once

#include "host/Journal.h"

// The fixed records of demonstration mode: one of every severity, so every
// severity colour shows, plus a long message that wraps over several lines.
class DemoJournal : public Journal {
public:
    bool isAvailable() override { return true; }
    std::vector<LogRecord> newest(std::size_t limit, std::stop_token stop = {}) override;
    QString name() const override { return QStringLiteral("demo"); }
};
