#include "DrawingTestSupport.h"

#include "drawing/OnOffView.h"
#include "drawing/Palette.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QPainter>

using namespace drawingtest;

// The charts the Overview warms its cache with, and the three lamps, at 2x,
// into one picture for people to look at.
TEST(ChartScreenshot, WarmUpChartsAndLampsAtDoubleScale)
{
    ensureFirstLamp();
    using palette::kAmber, palette::kGreen, palette::kLightGrey, palette::kRed;
    const QImage big = chart({{0.2f, kGreen}, {0.2f, kRed}, {0.6f, kLightGrey}}, {185, 60}, 5, 2);
    const QImage wide =
        chart({{0.2f, kAmber}, {0.2f, kLightGrey}, {0.2f, kRed}, {0.4f, kGreen}}, {280, 20}, 5, 2);
    const QImage swatch =
        chart({{0.2f, kAmber}, {0.2f, kRed}, {0.2f, kLightGrey}, {0.2f, kGreen}}, {10, 10}, 3, 2);

    QImage sheet(QSize(300, 150) * 2, QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(2.0);
    sheet.fill(QColor(226, 231, 237)); // a grouped table's background
    QPainter painter(&sheet);
    painter.drawImage(QPointF(10, 10), big);
    painter.drawImage(QPointF(10, 80), wide);
    painter.drawImage(QPointF(210, 10), swatch);
    for (int i = 0; i < 3; ++i) {
        OnOffView lamp(QRect(0, 0, 14, 14), 7.0f);
        lamp.setColor(i);
        lamp.render(&painter, QPoint(10 + i * 24, 115), QRegion(), QWidget::RenderFlags());
    }
    painter.end();

    const QString path = testsupport::outputDir() + "/drawing_charts_2x.png";
    ASSERT_TRUE(sheet.save(path));
    const QImage saved(path);
    ASSERT_EQ(saved.size(), QSize(600, 300));
}
