#pragma once

#include <optional>

// The primary screen, as the application layer measured it. The host cannot
// ask the windowing system itself (it stays free of QtGui), so the app calls
// set() at start, before the device facts are first collected.
struct DisplayInfo {
    int width_px = 0;
    int height_px = 0;
    double ppi = 0; // physical dots per inch; 0 when unknown
};

class DisplayFacts {
public:
    static void set(const DisplayInfo& info);
    static void clear();
    static std::optional<DisplayInfo> get();
};
