#include "screens/overview/OverviewLayout.h"

#include "drawing/CellIdentifiers.h"

#include <array>
#include <initializer_list>
#include <vector>

namespace {
using Row = OverviewLayout::Row;
using Kind = OverviewLayout::Kind;

constexpr int kSections = 7;

// Every row by section, in order, as small screens show them.
const std::array<std::vector<Row>, kSections>& allRows()
{
    static const std::array<std::vector<Row>, kSections> rows = {{
        {Row::BatteryGraph, Row::BatteryState, Row::WorkTime},
        {Row::DiskGraph, Row::TotalDiskSpace, Row::FileStatistics},
        {Row::CpuGraph, Row::AverageLoad},
        {Row::BootTime, Row::Uptime},
        {Row::ExternalIp, Row::DefaultGateway, Row::ConnectionList, Row::RoutingTable},
        {Row::WifiConnected, Row::WifiMac, Row::WifiIp},
        {Row::CellConnected, Row::CellIp, Row::CarrierName, Row::CountryCode, Row::MccMnc,
         Row::VoipSupport},
    }};
    return rows;
}

// The rows that lead to other pages: large screens list those pages beside
// the table instead.
bool leadsToPage(Row row)
{
    return OverviewLayout::kind(row) == Kind::Details;
}
} // namespace

int OverviewLayout::numberOfRows(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    int count = 0;
    for (Row r : allRows()[static_cast<std::size_t>(section)])
        count += !(m_large && leadsToPage(r));
    return count;
}

std::optional<OverviewLayout::Row> OverviewLayout::row(ui::IndexPath p) const
{
    if (p.section < 0 || p.section >= numberOfSections() || p.row < 0)
        return std::nullopt;
    int index = 0;
    for (Row r : allRows()[static_cast<std::size_t>(p.section)]) {
        if (m_large && leadsToPage(r))
            continue;
        if (index++ == p.row)
            return r;
    }
    return std::nullopt;
}

std::optional<ui::IndexPath> OverviewLayout::indexPath(Row wanted) const
{
    for (int s = 0; s < numberOfSections(); ++s)
        for (int r = 0; r < numberOfRows(s); ++r)
            if (row({s, r}) == wanted)
                return ui::IndexPath{s, r};
    return std::nullopt;
}

QString OverviewLayout::sectionTitle(int section)
{
    static const char* const titles[] = {"Battery Status",  "Disk Usage",  "CPU Usage",
                                         "System Uptime",   "Connections", "Wi-Fi Information",
                                         "Cell Information"};
    if (section < 0 || section >= kSections)
        return {};
    return QString::fromLatin1(titles[section]);
}

OverviewLayout::Kind OverviewLayout::kind(Row row)
{
    switch (row) {
    case Row::BatteryGraph:
        return Kind::BatteryGraph;
    case Row::WorkTime:
    case Row::FileStatistics:
    case Row::ConnectionList:
    case Row::RoutingTable:
        return Kind::Details;
    case Row::DiskGraph:
        return Kind::DiskGraph;
    case Row::BatteryState:
    case Row::WifiConnected:
    case Row::CellConnected:
    case Row::VoipSupport:
        return Kind::OnOffGraph;
    case Row::ExternalIp:
        return Kind::ExternalIp;
    case Row::CpuGraph:
        return Kind::CpuGraph;
    default:
        return Kind::Normal;
    }
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

QString OverviewLayout::labelText(Row row)
{
    const char* label = "";
    switch (row) {
    case Row::BatteryGraph:
    case Row::DiskGraph:
    case Row::CpuGraph:
        break;
    case Row::BatteryState:
        label = "Battery State";
        break;
    case Row::WorkTime:
        label = "Work Time";
        break;
    case Row::TotalDiskSpace:
        label = "Total Disk Space";
        break;
    case Row::FileStatistics:
        label = "Statistics";
        break;
    case Row::AverageLoad:
        label = "Avg Load (1, 5, 15 min)";
        break;
    case Row::BootTime:
        label = "Boot Time";
        break;
    case Row::Uptime:
        label = "Uptime";
        break;
    case Row::ExternalIp:
        label = "External IP";
        break;
    case Row::DefaultGateway:
        label = "Default Gateway";
        break;
    case Row::ConnectionList:
        label = "Connections";
        break;
    case Row::RoutingTable:
        label = "Routing Table";
        break;
    case Row::WifiConnected:
    case Row::CellConnected:
        label = "Network Connected";
        break;
    case Row::WifiMac:
        label = "Network MAC";
        break;
    case Row::WifiIp:
    case Row::CellIp:
        label = "Network IP";
        break;
    case Row::CarrierName:
        label = "Carrier Name";
        break;
    case Row::CountryCode:
        label = "Country Code";
        break;
    case Row::MccMnc:
        label = "MCC / MNC";
        break;
    case Row::VoipSupport:
        label = "VOIP Support";
        break;
    }
    return QString::fromLatin1(label);
}

double OverviewLayout::rowHeight(Row row) const
{
    if (row == Row::BatteryGraph)
        return m_large ? 130.0 : 80.0;
    if (row == Row::DiskGraph || row == Row::CpuGraph)
        return 95.0;
    return m_large ? 44.0 : 30.0;
}

bool OverviewLayout::isSelectable(Row row) const
{
    return !m_large && leadsToPage(row);
}
