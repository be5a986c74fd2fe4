#pragma once

#include "drawing/CustomCell.h"
#include "screens/memory/MemoryFormat.h"

#include <QByteArray>

#include <array>

class BarChartView;
class QLabel;

// The memory bar with its five-line legend (kind, value, share), built once
// with the frames of the screen class; its labels carry the legend's tags.
class MemoryGraphCell : public CustomCell {
    Q_OBJECT
public:
    // Tags of each kind's value and percentage labels, in bar order.
    static constexpr int kValueTag[MemoryFormat::kKinds] = {8, 6, 4, 10, 2};
    static constexpr int kShareTag[MemoryFormat::kKinds] = {9, 7, 5, 11, 3};
    static constexpr int kBarTag = 1;

    MemoryGraphCell();

    BarChartView* bar() const { return m_bar; }
    // Writes the legend; with drawBar also renders the bar (skipped when its
    // figures are those it already shows).
    void setFigures(const MemoryFormat::Figures& figures, bool drawBar);

private:
    void legendLine(MemoryFormat::Kind kind, int y);

    BarChartView* m_bar;
    // Each kind's value and share labels, kept so a tick finds them without
    // a search of the cell's children.
    std::array<QLabel*, MemoryFormat::kKinds> m_values{}, m_shares{};
    QByteArray m_drawn; // the figures the bar's picture shows
};
