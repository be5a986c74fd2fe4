#include "screens/overview/OverviewLayout.h"

#include "drawing/CellIdentifiers.h"

#include <array>

namespace {
constexpr std::array<int, 7> kSmallRows = {3, 3, 2, 2, 4, 3, 6};
constexpr std::array<int, 7> kLargeRows = {2, 2, 2, 2, 2, 3, 6};

// Labels by section, then row.
const char* const kLabels[7][6] = {
    {"", "Battery State", "Work Time"},
    {"", "Total Disk Space", "Statistics"},
    {"", "Avg Load (1, 5, 15 min)"},
    {"Boot Time", "Uptime"},
    {"External IP", "Default Gateway", "Connections", "Routing Table"},
    {"Network Connected", "Network MAC", "Network IP"},
    {"Network Connected", "Network IP", "Carrier Name", "Country Code", "MCC / MNC",
     "VOIP Support"},
};

bool is(ui::IndexPath p, int section, int row)
{
    return p.section == section && p.row == row;
}
} // namespace

int OverviewLayout::numberOfRows(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return (m_large ? kLargeRows : kSmallRows)[static_cast<std::size_t>(section)];
}

QString OverviewLayout::sectionTitle(int section)
{
    static const char* const titles[] = {"Battery Status",  "Disk Usage",  "CPU Usage",
                                         "System Uptime",   "Connections", "Wi-Fi Information",
                                         "Cell Information"};
    if (section < 0 || section >= 7)
        return {};
    return QString::fromLatin1(titles[section]);
}

OverviewLayout::Kind OverviewLayout::kind(ui::IndexPath p)
{
    if (is(p, 0, 0))
        return Kind::BatteryGraph;
    if (is(p, 0, 2) || is(p, 1, 2) || is(p, 4, 2) || is(p, 4, 3))
        return Kind::Details;
    if (is(p, 1, 0))
        return Kind::DiskGraph;
    if (is(p, 6, 5) || is(p, 0, 1) || is(p, 6, 0) || is(p, 5, 0))
        return Kind::OnOffGraph;
    if (is(p, 4, 0))
        return Kind::ExternalIp;
    if (is(p, 2, 0))
        return Kind::CpuGraph;
    return Kind::Normal;
}

const char* OverviewLayout::reuseIdentifier(Kind kind)
{
    switch (kind) {
    case Kind::BatteryGraph:
        return cellid::kCellBatteryGraph;
    case Kind::Details:
        return cellid::kCellDetails;
    case Kind::DiskGraph:
        return cellid::kCellDiskGraph;
    case Kind::OnOffGraph:
        return cellid::kCellOnOffGraph;
    case Kind::ExternalIp:
        return cellid::kCellExternalIp;
    case Kind::CpuGraph:
        return cellid::kCellCPUGraph;
    case Kind::Normal:
        break;
    }
    return cellid::kCellNormal;
}

QString OverviewLayout::labelText(ui::IndexPath p)
{
    if (p.section < 0 || p.section >= 7 || p.row < 0 || p.row >= 6)
        return {};
    const char* label = kLabels[p.section][p.row];
    return label ? QString::fromLatin1(label) : QString();
}

double OverviewLayout::rowHeight(ui::IndexPath p) const
{
    if (is(p, 0, 0))
        return m_large ? 130.0 : 80.0;
    if (is(p, 1, 0) || is(p, 2, 0))
        return 95.0;
    return m_large ? 44.0 : 30.0;
}

bool OverviewLayout::isSelectable(ui::IndexPath p) const
{
    return !m_large && kind(p) == Kind::Details;
}
