#pragma once

#include "drawing/CustomCell.h"

#include <QByteArray>

class BarChartView;
class OnOffView;
class QLabel;

// A cell of the Overview with its parts by name, so refilling a reused cell
// finds them without tags. Only the parts of the cell's kind are set; the
// others stay null.
class OverviewCell : public CustomCell {
    Q_OBJECT
public:
    using CustomCell::CustomCell;

    // Chart rows: the bar, and the picture's inputs it was last drawn from.
    BarChartView* bar = nullptr;
    QByteArray chartKey;
    // Battery chart: the big percentage.
    QLabel* charge = nullptr;
    // Disk chart legend.
    QLabel* used = nullptr;
    QLabel* usedShare = nullptr;
    QLabel* free = nullptr;
    QLabel* freeShare = nullptr;
    // CPU chart legend.
    QLabel* cpuUser = nullptr;
    QLabel* cpuSystem = nullptr;
    QLabel* cpuIdle = nullptr;
    // Lamp rows: the lamp; lamp, value and external-address rows: the text.
    OnOffView* lamp = nullptr;
    QLabel* value = nullptr;
};
