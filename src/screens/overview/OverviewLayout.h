#pragma once

#include "ui/IndexPath.h"

#include <QString>

#include <optional>

// Which sections and rows the Overview has, what each row is called, which
// kind of cell it uses and how tall it is. Small screens add four rows that
// lead to other pages; large screens list those pages beside the table.
// Callers name a row by its identity; the index path is only where it sits.
class OverviewLayout {
public:
    enum class Kind { BatteryGraph, Details, DiskGraph, OnOffGraph, ExternalIp, CpuGraph, Normal };
    // The sections, in order; Cell exists only with cellular hardware and a
    // carrier.
    enum Section { Battery = 0, Disk, Cpu, Uptime, Connections, Wifi, Cell };
    enum class Row {
        BatteryGraph,
        BatteryState,
        WorkTime,
        DiskGraph,
        TotalDiskSpace,
        FileStatistics,
        CpuGraph,
        AverageLoad,
        BootTime,
        Uptime,
        ExternalIp,
        DefaultGateway,
        ConnectionList,
        RoutingTable,
        WifiConnected,
        WifiMac,
        WifiIp,
        CellConnected,
        CellIp,
        CarrierName,
        CountryCode,
        MccMnc,
        VoipSupport,
    };

    OverviewLayout(bool large, bool hasCellSection) : m_large(large), m_cell(hasCellSection) {}

    int numberOfSections() const { return m_cell ? 7 : 6; }
    int numberOfRows(int section) const;
    static QString sectionTitle(int section);

    // The row at a place of this layout; nullopt outside it.
    std::optional<Row> row(ui::IndexPath indexPath) const;
    // Where a row sits in this layout; nullopt when the layout leaves it out.
    std::optional<ui::IndexPath> indexPath(Row row) const;

    static Kind kind(Row row);
    static const char* reuseIdentifier(Kind kind);
    // The row's label, empty for the chart rows.
    static QString labelText(Row row);
    double rowHeight(Row row) const;
    // Only the small-screen rows that lead to other pages.
    bool isSelectable(Row row) const;

private:
    bool m_large;
    bool m_cell;
};
