#pragma once

#include "screens/overview/OverviewLayout.h"

#include <QColor>
#include <QRect>

#include <functional>
#include <utility>

class OverviewCell;
class QLabel;
class QWidget;

// Builds the Overview's cells with their fixed frames and fonts, once per
// cell, naming their parts on the cell; the controller fills in the values
// on every reload.
class OverviewCellFactory {
public:
    // onReload is what the "Reload" button of the external-address row does.
    static OverviewCell* create(OverviewLayout::Kind kind, const std::function<void()>& onReload);

    // Label texts that shrink to fit their frames.
    static void setPercent(QLabel* label, float value);
    static void setGigabytes(QLabel* label, float value);
    static void setChargeText(OverviewCell* cell, const QString& text);

    // The frame for the current screen class.
    static QRect frame(const QRect& large, const QRect& small);
    // 17 points on large screens, 14 on small.
    static double rowPoints();

private:
    // Legend lines: a swatch, a text and one or two value labels at (px, py).
    static QLabel* legendLine(OverviewCell* cell, int offset, int px, int py, const QColor& color,
                              const QString& text);
    static std::pair<QLabel*, QLabel*> legendLine(OverviewCell* cell, int px, int py,
                                                  const QColor& color, const QString& text);

    static OverviewCell* batteryCell();
    static OverviewCell* diskCell();
    static OverviewCell* cpuCell();
    static OverviewCell* externalIpCell(const std::function<void()>& onReload);
    static OverviewCell* normalCell();
    static OverviewCell* onOffCell();
    static OverviewCell* detailsCell();
};
