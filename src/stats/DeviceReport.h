#pragma once

#include <QString>

class StaticStats;

// The plain-text device report (the body of the "Welvane Device Info" mail
// and of `welvane --report`), always with the live values, never the demo
// texts of the Details page.
class DeviceReport {
public:
    static constexpr const char* kSubject = "Welvane Device Info";

    // The report of this machine (StaticStats::instance()).
    static QString text();
    static QString text(const StaticStats& stats);
};
