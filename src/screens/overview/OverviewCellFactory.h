#pragma once

#include "screens/overview/OverviewLayout.h"

#include <QColor>
#include <QRect>

#include <functional>

class CustomCell;
namespace ui {
class TableViewCell;
}

// Builds the Overview's cells with their fixed frames, fonts and tags, once
// per cell; the controller fills in the values on every reload.
class OverviewCellFactory {
public:
    // Tags of the subviews the controller finds again on reuse.
    enum Tag {
        kChargeLabel = 1,
        kBatteryBar = 2,
        kCpuBar = 2,
        kDiskBar = 3,
        kDiskFree = 4,
        kDiskUsed = 5,
        kDiskFreeShare = 6,
        kDiskUsedShare = 7,
        kCpuUser = 8,
        kCpuSystem = 9,
        kCpuIdle = 10,
        kLamp = 11,
        kLampText = 12,
        kExternalIp = 13,
        kValue = 14,
    };

    // onReload is what the "Reload" button of the external-address row does.
    static CustomCell* create(OverviewLayout::Kind kind, const std::function<void()>& onReload);

    // One chart value with a label, and one value with its share.
    static void legendValueOfCell(ui::TableViewCell* cell, float value, int valueTag);
    static void legendValueOfCell(ui::TableViewCell* cell, float value, float pct, int valueTag,
                                  int valuePctTag);

    // The big charge percentage, shrunk to fit like the legend values.
    static void setChargeText(ui::TableViewCell* cell, const QString& text);

    // Legend lines: a swatch, a text and one or two value labels at (px, py).
    static void legendLineOfCell(ui::TableViewCell* cell, int offset, int px, int py,
                                 const QColor& color, const QString& text, int valueTag);
    static void legendLineOfCell(ui::TableViewCell* cell, int px, int py, const QColor& color,
                                 const QString& text, int valueTag, int valuePctTag);

    // The frame for the current screen class.
    static QRect frame(const QRect& large, const QRect& small);
    // 17 points on large screens, 14 on small.
    static double rowPoints();

private:
    static CustomCell* batteryCell();
    static CustomCell* diskCell();
    static CustomCell* cpuCell();
    static CustomCell* externalIpCell(const std::function<void()>& onReload);
    static CustomCell* normalCell();
    static CustomCell* onOffCell();
    static CustomCell* detailsCell();
};
