#pragma once

#include "ui/IndexPath.h"

#include <QString>

// Which sections and rows the Overview has, what each row is called, which
// kind of cell it uses and how tall it is. Small screens add four rows that
// lead to other pages; large screens list those pages beside the table.
class OverviewLayout {
public:
    enum class Kind { BatteryGraph, Details, DiskGraph, OnOffGraph, ExternalIp, CpuGraph, Normal };
    // The sections, in order; Cell exists only with cellular hardware and a
    // carrier.
    enum Section { Battery = 0, Disk, Cpu, Uptime, Connections, Wifi, Cell };

    OverviewLayout(bool large, bool hasCellSection) : m_large(large), m_cell(hasCellSection) {}

    int numberOfSections() const { return m_cell ? 7 : 6; }
    int numberOfRows(int section) const;
    static QString sectionTitle(int section);

    static Kind kind(ui::IndexPath indexPath);
    static const char* reuseIdentifier(Kind kind);
    // The row's label, empty for the chart rows.
    static QString labelText(ui::IndexPath indexPath);
    double rowHeight(ui::IndexPath indexPath) const;
    // Only the small-screen rows that lead to other pages.
    bool isSelectable(ui::IndexPath indexPath) const;

private:
    bool m_large;
    bool m_cell;
};
