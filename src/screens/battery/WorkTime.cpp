#include "screens/battery/WorkTime.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kDemoCharge = 0.75;
const QString kNotAvailable = QStringLiteral("N/A");
} // namespace

std::optional<double> WorkTime::charge(float level, bool simulator)
{
    if (simulator)
        return kDemoCharge;
    if (level < 0.0f || std::isnan(level))
        return std::nullopt; // no battery, or a level the host cannot read
    return static_cast<double>(level);
}

long WorkTime::chargeSteps(double charge)
{
    return std::lround(charge * 100.0);
}

int32_t WorkTime::seconds(double ratedLife, uint32_t health, double charge)
{
    const double s = ratedLife * health * static_cast<double>(chargeSteps(charge)) / 10000.0;
    // A value past 32 bits would be undefined to convert; no real battery gets there.
    if (!(s < static_cast<double>(std::numeric_limits<int32_t>::max())))
        return std::isnan(s) ? 0 : std::numeric_limits<int32_t>::max();
    if (s <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(s); // truncates toward zero
}

QString WorkTime::hoursMinutes(int32_t seconds)
{
    return QString::asprintf("%dh ", seconds / 3600) +
           QString::asprintf("%dm", (seconds % 3600) / 60);
}

QString WorkTime::text(double ratedLife, uint32_t health, std::optional<double> charge)
{
    if (ratedLife == 0 || !charge)
        return kNotAvailable;
    return hoursMinutes(seconds(ratedLife, health, *charge));
}

bool WorkTime::healthInRange(long long stored)
{
    return stored >= kMinHealth && stored <= kMaxHealth;
}

uint32_t WorkTime::repairedHealth(long long stored)
{
    return healthInRange(stored) ? static_cast<uint32_t>(stored) : kMaxHealth;
}
