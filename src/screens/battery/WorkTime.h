#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The arithmetic of the Work Time page: how long the battery still lasts for
// one kind of use, from the model's rated life, the battery health the user
// set and the present charge.
class WorkTime {
public:
    static constexpr uint32_t kMinHealth = 20;
    static constexpr uint32_t kMaxHealth = 100;

    // The charge the page computes with: 0.75 on the demo device, else the
    // battery level; nullopt when the host cannot read the level (negative).
    static std::optional<double> charge(float level, bool simulator);

    // Charge in whole percent, halves away from zero.
    static long chargeSteps(double charge);

    // Remaining seconds: rated life x health x percent / 10000, truncated
    // toward zero to 32 bits (clamped there rather than overflowing).
    static int32_t seconds(double ratedLife, uint32_t health, double charge);

    // "%dh %dm", so 16200 seconds read "4h 30m".
    static QString hoursMinutes(int32_t seconds);

    // A row's value: "N/A" without a rated life or a readable charge.
    static QString text(double ratedLife, uint32_t health, std::optional<double> charge);

    // A stored health outside 20..100 (an absent key reads 0) becomes 100.
    static bool healthInRange(long long stored);
    static uint32_t repairedHealth(long long stored);
};
