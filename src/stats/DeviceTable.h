#pragma once

#include "stats/DeviceFacts.h"

#include <QString>

// The built-in table of handheld models, chosen by machine identifier.
class DeviceTable {
public:
    // Sets the fields of the first row whose test matches machine and returns
    // that row's number (1 to 13), or 0 when none matches and facts keep
    // their defaults. The carrier-dependent fields of the two iPad rows
    // (11 and 12) are left to the caller.
    static int apply(const QString& machine, DeviceFacts& facts);

    static constexpr int kFirstIpadRow = 11;
    static constexpr int kLastIpadRow = 12;
    static constexpr int kSimulatorRow = 13;
    // 247 MB, the memory the development simulator reports.
    static constexpr uint64_t kSimulatorPhysmem = 258998272;
};
