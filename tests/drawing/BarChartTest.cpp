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
    // One colour all along the bar.
    for (double x : {8.0, 30.0, 50.0, 70.0, 92.0})
        for (double y : {3.0, 8.0, 12.0, 17.0})
            EXPECT_TRUE(greenish(pixelAt(image, x, y))) << x << "," << y;
    // The upper half, under its white veil, is lighter than the lower half.
    double top = 0, bottom = 0;
    for (double y = 1; y < 10; y += 0.5)
        top += luminance(pixelAt(image, 50, y));
    for (double y = 10; y < 19; y += 0.5)
        bottom += luminance(pixelAt(image, 50, y));
    EXPECT_GT(top, bottom * 1.1);
    // The veil stops sharply at the middle.
    EXPECT_GT(luminance(pixelAt(image, 50, 9.75)), luminance(pixelAt(image, 50, 10.25)) + 20);
    // Just below the middle the colour is the item's own.
    const QColor mid = pixelAt(image, 50, 10.25);
    EXPECT_NEAR(mid.red(), 38, 2);
    EXPECT_NEAR(mid.green(), 119, 2);
    EXPECT_NEAR(mid.blue(), 38, 2);
    // The brightest veil is at the top edge, inside the outline.
    EXPECT_GT(luminance(pixelAt(image, 50, 1.0)), luminance(pixelAt(image, 50, 9.0)));
}

TEST(BarChartRender, SegmentBoundariesFollowTheValues)
{
    const QImage image = chart({{1.0f, kRed}, {1.0f, kGreen}, {2.0f, kRed}}, {200, 20}, 5.0f, 1.0);
    const double y = 14;
    EXPECT_TRUE(reddish(pixelAt(image, 10, y)));
    EXPECT_TRUE(reddish(pixelAt(image, 48, y)));
    EXPECT_TRUE(greenish(pixelAt(image, 51, y)));
    EXPECT_TRUE(greenish(pixelAt(image, 98, y)));
    EXPECT_TRUE(reddish(pixelAt(image, 101, y)));
    EXPECT_TRUE(reddish(pixelAt(image, 190, y)));
    // The overlap is covered by the next bar: no seam of another colour.
    for (int x = 2; x < 198; ++x) {
        const QColor c = pixelAt(image, x, y);
        EXPECT_TRUE(reddish(c) || greenish(c)) << x;
    }
}

TEST(BarChartRender, CornersOutsideTheOutlineAreWhite)
{
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = chart({{1.0f, kRed}}, {60, 20}, 5.0f, ratio);
        EXPECT_TRUE(isWhite(pixelAt(image, 0, 0))) << ratio;
        EXPECT_TRUE(isWhite(pixelAt(image, 59.5, 0))) << ratio;
        EXPECT_TRUE(isWhite(pixelAt(image, 0, 19.5))) << ratio;
        EXPECT_TRUE(isWhite(pixelAt(image, 59.5, 19.5))) << ratio;
        EXPECT_TRUE(isWhite(pixelAt(image, 0.6, 0.6))) << ratio;
        EXPECT_TRUE(allOpaque(image));
        // The straight edges are not cut.
        EXPECT_TRUE(reddish(pixelAt(image, 30, 14))) << ratio;
    }
}

TEST(BarChartRender, RadiusZeroGivesSquareCorners)
{
    const QImage image = chart({{1.0f, kRed}}, {60, 20}, 0.0f, 2.0);
    // At 2x the inner half of the 1-point line is exactly one device pixel.
    EXPECT_EQ(image.pixelColor(0, 0), palette::kChartOutline);
    EXPECT_EQ(image.pixelColor(119, 39), palette::kChartOutline);
    EXPECT_TRUE(reddish(image.pixelColor(1, 38)));
    EXPECT_TRUE(reddish(image.pixelColor(118, 38)));
}

TEST(BarChartRender, EmptyChartIsWhiteWithGreyOutline)
{
    const QImage image = chart({}, {100, 20}, 5.0f, 2.0);
    EXPECT_TRUE(allOpaque(image));
    EXPECT_TRUE(isWhite(pixelAt(image, 50, 10)));
    EXPECT_TRUE(isWhite(pixelAt(image, 10, 3)));
    // Inner half of the outline: the outermost device pixel row and column.
    EXPECT_EQ(image.pixelColor(100, 0), palette::kChartOutline);
    EXPECT_EQ(image.pixelColor(100, 39), palette::kChartOutline);
    EXPECT_EQ(image.pixelColor(0, 20), palette::kChartOutline);
    EXPECT_EQ(image.pixelColor(199, 20), palette::kChartOutline);
    EXPECT_TRUE(isWhite(image.pixelColor(100, 1)));
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
    EXPECT_EQ(chart({{-1.0f, amber}, {1.0f, kRed}, {3.0f, kGreen}}, size, 5.0f, 2.0), plain);
    EXPECT_EQ(chart({{1.0f, kRed}, {3.0f, kGreen}, {-5.0f, amber}}, size, 5.0f, 2.0), plain);
    EXPECT_EQ(chart({{0.0f, amber}, {1.0f, kRed}, {3.0f, kGreen}}, size, 5.0f, 2.0), plain);
    EXPECT_EQ(chart({{1.0f, kRed}, {0.0f, amber}, {3.0f, kGreen}}, size, 5.0f, 2.0), plain);
    EXPECT_EQ(chart({{1.0f, kRed}, {3.0f, kGreen}, {0.0f, amber}}, size, 5.0f, 2.0), plain);
    // Drawing leaves the items as they were.
    EXPECT_EQ(BarChart::instance().items().size(), 3u);
}

TEST(GlossCache, AlphaSharesOneImageAndDrawsOpaque)
{
    BarChart& bc = BarChart::instance();
    const QSizeF size(40, 17); // a height no other test uses
    const QColor solid(98, 91, 129);
    const QColor faint(98, 91, 129, 40);
    chart({}, size, 3.0f, 2.0);
    const int before = bc.glossCacheCount();
    const QImage a = chart({{1.0f, solid}}, size, 3.0f, 2.0);
    const QImage b = chart({{1.0f, faint}}, size, 3.0f, 2.0);
    EXPECT_EQ(bc.glossCacheCount(), before + 1);
    EXPECT_TRUE(bc.hasGlossImage("17.0:98.0:91.0:129.0"));
    EXPECT_EQ(a, b);
    EXPECT_TRUE(allOpaque(b));
}

TEST(GlossCache, DoesNotGrowForTheSameHeightAndColour)
{
    BarChart& bc = BarChart::instance();
    chart({{1.0f, kRed}, {2.0f, kGreen}}, {90, 23}, 5.0f, 1.0);
    const int count = bc.glossCacheCount();
    chart({{5.0f, kGreen}, {1.0f, kRed}}, {300, 23}, 5.0f, 1.0);
    EXPECT_EQ(bc.glossCacheCount(), count);
    // A new height is a new entry.
    chart({{1.0f, kRed}}, {90, 24}, 5.0f, 1.0);
    EXPECT_EQ(bc.glossCacheCount(), count + 1);
}

TEST(BarChartViewTest, KeepsTheImageOfItsItemsUntilDrawnAgain)
{
    BarChart::instance().setDevicePixelRatio(1.0);
    BarChart::instance().addItemValue(1.0f, kRed);
    BarChartView view(QRect(0, 0, 80, 20), 5.0f);
    EXPECT_TRUE(BarChart::instance().items().empty()); // a new view starts empty
    EXPECT_TRUE(view.image().isNull());
    view.addItemValue(1.0f, kGreen);
    view.drawImage();
    ASSERT_EQ(view.image().size(), QSize(80, 20));
    EXPECT_TRUE(greenish(view.image().pixelColor(40, 14)));
    // Later changes to the shared items do not reach the kept image.
    view.clearItems();
    view.addItemValue(1.0f, kRed);
    EXPECT_TRUE(greenish(view.image().pixelColor(40, 14)));
    // What the view paints is its image.
    const QImage shown = view.grab().toImage();
    EXPECT_TRUE(greenish(shown.pixelColor(40, 14)));
    EXPECT_TRUE(isWhite(shown.pixelColor(0, 0)));
    view.drawImage();
    EXPECT_TRUE(reddish(view.image().pixelColor(40, 14)));
    view.clearItems();
    EXPECT_TRUE(BarChart::instance().items().empty());
}
