#pragma once

#include "ui/IndexPath.h"

#include <QString>

#include <optional>

class StaticStats;

// What each row of the Details page shows, apart from its widgets: the four
// sections, their row counts by screen class and carrier, each row's title,
// cell kind, text and lamp, live or in demo mode.
class DetailsRows {
public:
    enum class Kind { Normal, OnOffGraph, Details, Twoline };
    struct Row {
        QString title;
        Kind kind = Kind::Normal;
        QString value;
        std::optional<bool> lamp; // on/off rows only
    };

    static constexpr int kSections = 4;

    DetailsRows(const StaticStats& stats, bool pad);

    static QString sectionTitle(int section);
    int numberOfRows(int section) const;
    Row row(ui::IndexPath indexPath) const;
    // The row that opens the system log (small screens only).
    static bool isSystemLog(ui::IndexPath indexPath)
    {
        return indexPath.section == 0 && indexPath.row == 5;
    }

private:
    Row operatingSystem(int row) const;
    Row deviceInformation(int row) const;
    Row cpuInformation(int row) const;
    Row hardwareFeatures(int row) const;
    // The live text, or the demo text in demo mode.
    QString demoOr(const char* demo, const QString& live) const;

    const StaticStats& m_stats;
    bool m_pad;
};
