// A chart drawn from the warm gloss cache against the same chart drawn cold
// (none of its gloss images cached yet), for the Overview's two bar sizes
// at scale 1 and 2, interleaved run by run. A cached draw should be at least
// ten times cheaper.
#include "BenchSupport.h"

#include "drawing/BarChart.h"
#include "drawing/Palette.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    bench::enterPrivateNetwork();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    BarChart& chart = BarChart::instance();
    chart.clearItems();
    chart.addItemValue(0.2f, palette::kAmber);
    chart.addItemValue(0.2f, palette::kLightGrey);
    chart.addItemValue(0.2f, palette::kRed);
    chart.addItemValue(0.4f, palette::kGreen);
    const int rounds = 31;
    bool allMet = true;
    std::printf("%-10s %6s %14s %14s %10s\n", "chart", "scale", "cold us CPU", "cached us CPU",
                "cold/cached");
    for (const QSizeF size : {QSizeF(280, 20), QSizeF(185, 60)}) {
        for (const qreal scale : {1.0, 2.0}) {
            chart.setDevicePixelRatio(scale);
            chart.drawChartInRect(QRectF(QPointF(0, 0), size), 5.0f); // warm the cache
            // Cold: a height the cache has not seen, so all four gloss images
            // are made; the chart is otherwise the same.
            int fresh = 0;
            const std::vector<bench::Timing> t = bench::interleave(
                rounds,
                {[&] {
                     const QSizeF freshSize(size.width(), size.height() + 0.01 * ++fresh);
                     return bench::timeOnce([&] {
                         (void)chart.drawChartInRect(QRectF(QPointF(0, 0), freshSize), 5.0f);
                     });
                 },
                 [&] {
                     return bench::timeOnce(
                         [&] { (void)chart.drawChartInRect(QRectF(QPointF(0, 0), size), 5.0f); });
                 }});
            const double r = bench::ratio(t[0].cpu_ms, t[1].cpu_ms);
            allMet = allMet && r >= 10.0;
            std::printf("%4.0f x %-3.0f %6.0f %14.1f %14.1f %9.1fx\n", size.width(), size.height(),
                        scale, t[0].cpu_ms * 1e3, t[1].cpu_ms * 1e3, r);
        }
    }
    std::printf("goal: cached draw >= 10x cheaper than the same chart cold: %s\n",
                allMet ? "met" : "NOT met");
    return 0;
}
