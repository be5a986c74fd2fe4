// Cost of a gloss-image miss against a chart drawn from the warm cache, for
// the Overview's two bar sizes at scale 1 and 2. A cached draw should be at
// least ten times cheaper than a miss.
#include "BenchSupport.h"

#include "drawing/BarChart.h"
#include "drawing/ColorComponents.h"
#include "drawing/Palette.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    BarChart& chart = BarChart::instance();
    const int runs = 31;
    bool allMet = true;
    std::printf("%-14s %6s %14s %14s %8s %14s\n", "chart", "scale", "miss ms", "cached ms", "ratio",
                "cold chart ms");
    for (const QSizeF size : {QSizeF(280, 20), QSizeF(185, 60)}) {
        for (const qreal scale : {1.0, 2.0}) {
            chart.setDevicePixelRatio(scale);
            const RgbColor green = ColorComponents::rgb(palette::kGreen);
            const float height = static_cast<float>(size.height());
            const bench::Timing miss = bench::measure(runs, [&] {
                const QImage gloss = BarChart::makeGlossImage(green, height, scale);
                (void)gloss;
            });
            chart.clearItems();
            chart.addItemValue(0.2f, palette::kAmber);
            chart.addItemValue(0.2f, palette::kLightGrey);
            chart.addItemValue(0.2f, palette::kRed);
            chart.addItemValue(0.4f, palette::kGreen);
            chart.drawChartInRect(QRectF(QPointF(0, 0), size), 5.0f); // warm the cache
            const bench::Timing cached = bench::measure(runs, [&] {
                const QImage image = chart.drawChartInRect(QRectF(QPointF(0, 0), size), 5.0f);
                (void)image;
            });
            // For scale: the same chart when none of its four gloss images is
            // cached yet (a fresh height each run).
            int fresh = 0;
            const bench::Timing cold = bench::measure(runs, [&] {
                const QSizeF freshSize(size.width(), size.height() + 0.01 * ++fresh);
                const QImage image = chart.drawChartInRect(QRectF(QPointF(0, 0), freshSize), 5.0f);
                (void)image;
            });
            const double ratio = cached.cpu_ms > 0 ? miss.cpu_ms / cached.cpu_ms : 0;
            allMet = allMet && ratio >= 10.0;
            std::printf("%4.0f x %-7.0f %6.0f %14.4f %14.4f %7.2fx %14.4f\n", size.width(),
                        size.height(), scale, miss.cpu_ms, cached.cpu_ms, ratio, cold.cpu_ms);
        }
    }
    std::printf("goal: cached draw >= 10x cheaper than a miss: %s\n", allMet ? "met" : "NOT met");
    return 0;
}
