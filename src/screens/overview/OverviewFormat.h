#pragma once

#include "drawing/BarChartItem.h"
#include "host/Battery.h"

#include <QString>

#include <cstdint>
#include <vector>

// The value texts and chart segments of the Overview, as pure functions so
// each rule can be checked on its own.
class OverviewFormat {
public:
    struct Lamped {
        QString text;
        int lamp; // OnOffView index
    };
    struct CpuShares {
        float user = 0, system = 0, idle = 0; // percent of all ticks
    };
    struct DiskFigures {
        float total = 0, free = 0, used = 0; // GB
        float usedShare = 0, freeShare = 0;  // percent of total
    };

    // "87%"; "N/A" without a battery (a negative charge).
    static QString chargeText(long charge);
    // The battery bar: the charge in green above 20 %, red at 20 % or less,
    // then the rest in light grey; all grey without a battery.
    static std::vector<BarChartItem> batteryItems(long charge);
    static Lamped batteryState(Battery::State state);
    static Lamped yesNo(bool yes);

    // Bytes to 2^30-byte gigabytes, multiplied in double and kept as float.
    static float gigabytes(double bytes);
    static DiskFigures disk(float totalGb, float freeGb);
    static std::vector<BarChartItem> diskItems(const DiskFigures& disk);
    // "%.1f GB" and "%.1f %%"
    static QString gigabytesText(float gb);
    static QString percentText(float percent);

    // Nice ticks count in the total but have no share of their own; a zero
    // total (two refreshes within one tick) gives 0.0 for every share.
    static CpuShares cpuShares(uint32_t user, uint32_t system, uint32_t idle, uint32_t total);
    // System red, user green, idle grey, as raw ticks; an all-idle bar when
    // no tick has passed.
    static std::vector<BarChartItem> cpuItems(uint32_t user, uint32_t system, uint32_t idle,
                                              uint32_t total);

    static QString loadText(double avg1, double avg5, double avg15);

    // Seconds from boot to now, truncated to a signed 32-bit count.
    static int32_t uptimeSeconds(double bootSeconds, double nowSeconds);
    // "3d 4h 15m", "4h 15m", "0h 5m": days only when there are any.
    static QString uptimeText(int32_t seconds);

    // A carrier code or name the host did not give reads "N/A".
    static QString codeText(const QString& code);
    static QString codePairText(const QString& first, const QString& second);
};
