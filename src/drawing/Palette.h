#pragma once

#include <QColor>

// The application's fixed colours, as 8-bit RGB.
namespace palette {

// Value texts of the information screens.
inline const QColor kValueText(56, 84, 135);

// Chart and lamp colours.
inline const QColor kRed(153, 0, 0);
inline const QColor kGreen(38, 119, 38);
inline const QColor kAmber(209, 148, 12);
inline const QColor kLightGrey(180, 180, 180);
inline const QColor kSlate(98, 91, 129);
inline const QColor kMidGrey(120, 120, 120);

// The thin line round every chart.
inline const QColor kChartOutline(158, 158, 158);

} // namespace palette
