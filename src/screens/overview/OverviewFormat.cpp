#include "screens/overview/OverviewFormat.h"

#include "drawing/OnOffView.h"
#include "drawing/Palette.h"

#include <charconv>
#include <limits>

namespace {
// "%.*f" as printf rounds it, but with a point whatever the user's locale
// (Qt switches the C library to it, and QString::asprintf has its own
// rounding).
QString fixed(double value, int precision)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}
} // namespace

QString OverviewFormat::chargeText(long charge)
{
    if (charge < 0)
        return QStringLiteral("N/A"); // no battery
    return QString::number(static_cast<int>(charge)) + QLatin1Char('%');
}

std::vector<BarChartItem> OverviewFormat::batteryItems(long charge)
{
    if (charge < 0)
        return {BarChartItem(100.0f, palette::kLightGrey)}; // no battery: an empty bar
    const QColor& fill = charge > 20 ? palette::kGreen : palette::kRed;
    return {
        BarChartItem(static_cast<float>(charge), fill),
        BarChartItem(static_cast<float>(100.0 - static_cast<double>(charge)), palette::kLightGrey)};
}

OverviewFormat::Lamped OverviewFormat::batteryState(Battery::State state)
{
    switch (state) {
    case Battery::StateUnplugged:
        return {QStringLiteral("Discharging"), OnOffView::Red};
    case Battery::StateCharging:
        return {QStringLiteral("Charging"), OnOffView::Amber};
    case Battery::StateFull:
        return {QStringLiteral("Charged"), OnOffView::Green};
    case Battery::StateUnknown:
        break;
    }
    return {QStringLiteral("Unknown"), OnOffView::Red};
}

OverviewFormat::Lamped OverviewFormat::yesNo(bool yes)
{
    return yes ? Lamped{QStringLiteral("Yes"), OnOffView::Green}
               : Lamped{QStringLiteral("No"), OnOffView::Red};
}

float OverviewFormat::gigabytes(double bytes)
{
    return static_cast<float>(bytes * 9.313225746154785e-10);
}

OverviewFormat::DiskFigures OverviewFormat::disk(float totalGb, float freeGb)
{
    DiskFigures d;
    d.total = totalGb;
    d.free = freeGb;
    d.used = totalGb - freeGb;
    // An unreadable volume reports 0 bytes: show 0.0 %, never "nan".
    if (totalGb != 0.0f) {
        d.usedShare = d.used / totalGb * 100.0f;
        d.freeShare = freeGb / totalGb * 100.0f;
    }
    return d;
}

std::vector<BarChartItem> OverviewFormat::diskItems(const DiskFigures& disk)
{
    return {BarChartItem(disk.used, palette::kAmber), BarChartItem(disk.free, palette::kLightGrey)};
}

QString OverviewFormat::gigabytesText(float gb)
{
    return fixed(gb, 1) + QStringLiteral(" GB");
}

QString OverviewFormat::percentText(float percent)
{
    return fixed(percent, 1) + QStringLiteral(" %");
}

OverviewFormat::CpuShares OverviewFormat::cpuShares(uint32_t user, uint32_t system, uint32_t idle,
                                                    uint32_t total)
{
    if (total == 0)
        return {};
    const float t = static_cast<float>(total);
    return {static_cast<float>(user) / t * 100.0f, static_cast<float>(system) / t * 100.0f,
            static_cast<float>(idle) / t * 100.0f};
}

std::vector<BarChartItem> OverviewFormat::cpuItems(uint32_t user, uint32_t system, uint32_t idle,
                                                   uint32_t total)
{
    if (total == 0)
        return {BarChartItem(0.0f, palette::kRed), BarChartItem(0.0f, palette::kGreen),
                BarChartItem(1.0f, palette::kLightGrey)};
    return {BarChartItem(static_cast<float>(system), palette::kRed),
            BarChartItem(static_cast<float>(user), palette::kGreen),
            BarChartItem(static_cast<float>(idle), palette::kLightGrey)};
}

QString OverviewFormat::loadText(double avg1, double avg5, double avg15)
{
    return fixed(avg1, 2) + QStringLiteral(", ") + fixed(avg5, 2) + QStringLiteral(", ") +
           fixed(avg15, 2);
}

int32_t OverviewFormat::uptimeSeconds(double bootSeconds, double nowSeconds)
{
    const double interval = nowSeconds - bootSeconds;
    // Out of range would be undefined for the conversion; no real uptime
    // gets there, a broken clock might.
    if (!(interval > std::numeric_limits<int32_t>::min()) ||
        !(interval < std::numeric_limits<int32_t>::max()))
        return interval > 0 ? std::numeric_limits<int32_t>::max()
                            : std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(interval);
}

QString OverviewFormat::uptimeText(int32_t seconds)
{
    const int days = seconds / 86400;
    const int hours = (seconds - days * 86400) / 3600;
    const int minutes = (seconds - days * 86400) % 3600 / 60;
    QString text;
    if (days != 0)
        text += QString::number(days) + QStringLiteral("d ");
    text += QString::number(hours) + QStringLiteral("h ");
    text += QString::number(minutes) + QLatin1Char('m');
    return text;
}

QString OverviewFormat::codeText(const QString& code)
{
    return code.isNull() ? QStringLiteral("N/A") : code;
}

QString OverviewFormat::codePairText(const QString& first, const QString& second)
{
    return codeText(first) + QStringLiteral(" / ") + codeText(second);
}
