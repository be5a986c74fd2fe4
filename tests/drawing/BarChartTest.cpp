#include "DrawingTestSupport.h"

#include "drawing/BarChart.h"
#include "drawing/BarChartView.h"
#include "drawing/Palette.h"

#include <gtest/gtest.h>

using namespace drawingtest;

namespace {
const QColor kRed = palette::kRed;
const QColor kGreen = palette::kGreen;

bool reddish(const QColor& c)
{
    return c.red() > c.green() + 40 && c.red() > c.blue() + 40;
}
bool greenish(const QColor& c)
{
    return c.green() > c.red() + 40 && c.green() > c.blue() + 40;
}
} // namespace

TEST(BarChartRender, OneItemFillsTheOutlineLighterOnTop)
{
    const QImage image = chart({{1.0f, kGreen}}, {100, 20}, 5.0f, 2.0);
    ASSERT_EQ(image.size(), QSize(200, 40));
    EXPECT_TRUE(allOpaque(image));
    for (double x : {8.0, 50.0, 92.0})
        for (double y : {3.0, 17.0})
            EXPECT_TRUE(greenish(pixelAt(image, x, y))) << x << "," << y;
    // The white veil stops sharply at the middle; just below it the colour
    // is the item's own.
    EXPECT_GT(luminance(pixelAt(image, 50, 1.0)), luminance(pixelAt(image, 50, 9.0)));
    EXPECT_GT(luminance(pixelAt(image, 50, 9.75)), luminance(pixelAt(image, 50, 10.25)) + 20);
    const QColor mid = pixelAt(image, 50, 10.25);
    EXPECT_NEAR(mid.red(), 38, 2);
    EXPECT_NEAR(mid.green(), 119, 2);
    EXPECT_NEAR(mid.blue(), 38, 2);
}

TEST(BarChartRender, SegmentBoundariesFollowTheValues)
{
    const QImage image = chart({{1.0f, kRed}, {1.0f, kGreen}, {2.0f, kRed}}, {200, 20}, 5.0f, 1.0);
    const double y = 14;
    EXPECT_TRUE(reddish(pixelAt(image, 48, y)));
    EXPECT_TRUE(greenish(pixelAt(image, 51, y)));
    EXPECT_TRUE(greenish(pixelAt(image, 98, y)));
    EXPECT_TRUE(reddish(pixelAt(image, 101, y)));
    // The overlap is covered by the next bar: no seam of another colour.
    for (int x = 2; x < 198; ++x) {
        const QColor c = pixelAt(image, x, y);
        EXPECT_TRUE(reddish(c) || greenish(c)) << x;
    }
}

TEST(BarChartRender, CornersAndOutline)
{
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = chart({{1.0f, kRed}}, {60, 20}, 5.0f, ratio);
        for (auto [x, y] :
             {std::pair{0.0, 0.0}, {59.5, 0.0}, {0.0, 19.5}, {59.5, 19.5}, {0.6, 0.6}})
            EXPECT_TRUE(isWhite(pixelAt(image, x, y))) << ratio << " " << x << "," << y;
        EXPECT_TRUE(allOpaque(image));
        EXPECT_TRUE(reddish(pixelAt(image, 30, 14))) << ratio;
    }
    // Radius 0: at 2x the inner half of the 1-point line is one device pixel.
    const QImage square = chart({{1.0f, kRed}}, {60, 20}, 0.0f, 2.0);
    EXPECT_EQ(square.pixelColor(0, 0), palette::kChartOutline);
    EXPECT_EQ(square.pixelColor(119, 39), palette::kChartOutline);
    EXPECT_TRUE(reddish(square.pixelColor(1, 38)));
    // No items: white inside the grey outline.
    const QImage empty = chart({}, {100, 20}, 5.0f, 2.0);
    EXPECT_TRUE(isWhite(pixelAt(empty, 50, 10)));
    EXPECT_EQ(empty.pixelColor(100, 0), palette::kChartOutline);
    EXPECT_EQ(empty.pixelColor(199, 20), palette::kChartOutline);
    EXPECT_TRUE(isWhite(empty.pixelColor(100, 1)));
}

// Negative items draw nothing; zero items draw nothing and move nothing;
// items adding up to zero leave the empty chart.
TEST(BarChartRender, ItemsThatAreNotPositiveDrawNothing)
{
    const QSizeF size(100, 20);
    const QColor amber = palette::kAmber;
    const QImage empty = chart({}, size, 5.0f, 2.0);
    EXPECT_EQ(chart({{0.0f, kRed}, {0.0f, kGreen}}, size, 5.0f, 2.0), empty);
    EXPECT_EQ(chart({{-1.0f, kRed}}, size, 5.0f, 2.0), empty);
    const QImage plain = chart({{1.0f, kRed}, {3.0f, kGreen}}, size, 5.0f, 2.0);
    for (float odd : {-1.0f, 0.0f}) {
        EXPECT_EQ(chart({{odd, amber}, {1.0f, kRed}, {3.0f, kGreen}}, size, 5.0f, 2.0), plain);
        EXPECT_EQ(chart({{1.0f, kRed}, {odd, amber}, {3.0f, kGreen}}, size, 5.0f, 2.0), plain);
    }
    // Drawing leaves the items as they were.
    EXPECT_EQ(BarChart::instance().items().size(), 3u);
}

TEST(GlossCache, OneImagePerHeightAndColourWhateverTheAlpha)
{
    BarChart& bc = BarChart::instance();
    const QSizeF size(40, 17); // a height no other test uses
    const QColor solid(98, 91, 129);
    const QColor faint(98, 91, 129, 40);
    chart({}, size, 3.0f, 2.0);
    const int before = bc.glossCacheCount();
    const QImage a = chart({{1.0f, solid}}, size, 3.0f, 2.0);
    const QImage b = chart({{1.0f, faint}, {2.0f, solid}}, {300, 17}, 3.0f, 2.0);
    EXPECT_EQ(bc.glossCacheCount(), before + 1);
    EXPECT_TRUE(bc.hasGlossImage("17.0:98.0:91.0:129.0"));
    EXPECT_EQ(a, chart({{1.0f, faint}}, size, 3.0f, 2.0));
    EXPECT_TRUE(allOpaque(b));
    chart({{1.0f, solid}}, {40, 18}, 3.0f, 2.0); // a new height is a new entry
    EXPECT_EQ(bc.glossCacheCount(), before + 2);
}

TEST(BarChartViewTest, KeepsTheImageOfItsItemsUntilDrawnAgain)
{
    BarChart::instance().setDevicePixelRatio(1.0);
    BarChart::instance().addItemValue(1.0f, kRed);
    BarChartView view(QRect(0, 0, 80, 20), 5.0f);
    EXPECT_TRUE(BarChart::instance().items().empty()); // a new view starts empty
    view.addItemValue(1.0f, kGreen);
    view.drawImage();
    ASSERT_EQ(view.image().size(), QSize(80, 20));
    // Later changes to the shared items do not reach the kept image, which
    // is what the view paints.
    view.clearItems();
    view.addItemValue(1.0f, kRed);
    const QImage shown = view.grab().toImage();
    EXPECT_TRUE(greenish(shown.pixelColor(40, 14)));
    EXPECT_TRUE(isWhite(shown.pixelColor(0, 0)));
    view.drawImage();
    EXPECT_TRUE(reddish(view.image().pixelColor(40, 14)));
}
