#include "DrawingTestSupport.h"

#include "drawing/ConnectionCell.h"
#include "drawing/ProcessCell.h"
#include "drawing/RouteCell.h"
#include "support/IdiomScope.h"

#include <gtest/gtest.h>
#include <QPainter>

using namespace drawingtest;

namespace {

struct Layout : testsupport::IdiomScope {
    explicit Layout(bool large)
        : IdiomScope(large ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone)
    {
    }
};

QImage rendered(QWidget& cell, QSize size)
{
    cell.resize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    cell.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The darkest pixel of an area: white when nothing is drawn there.
QColor darkest(const QImage& image, QRect area)
{
    QColor best = Qt::white;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (luminance(image.pixelColor(x, y)) < luminance(best))
                best = image.pixelColor(x, y);
    return best;
}
bool inked(const QImage& image, QRect area)
{
    return !isWhite(darkest(image, area & image.rect()));
}

} // namespace

TEST(ListCellTest, EachLayoutDrawsExactlyItsFieldsInTheirColours)
{
    for (bool large : {false, true}) {
        Layout layout(large);
        ProcessCell process("Cell");
        for (auto set : {&ProcessCell::setName, &ProcessCell::setRuntime, &ProcessCell::setPID,
                         &ProcessCell::setPPID, &ProcessCell::setPrio, &ProcessCell::setPGID,
                         &ProcessCell::setUID})
            (process.*set)("4321");
        const QImage p = rendered(process, {768, large ? 56 : 50});
        // The small layout has no place for PGID and UID, though they are set.
        EXPECT_EQ(inked(p, {533, 32, 25, 13}), large);
        EXPECT_EQ(inked(p, {653, 32, 25, 13}), large);
        EXPECT_EQ(inked(p, {300, 0, 468, 49}), large);
        // Large: the name alone at the left, between the two field lines.
        EXPECT_EQ(inked(p, {20, 2, 150, 12}), !large);
        EXPECT_LT(darkest(p, large ? QRect(230, 32, 25, 12) : QRect(10, 29, 20, 12)).blue(), 60);
        const QColor value = darkest(p, large ? QRect(263, 32, 25, 12) : QRect(35, 29, 25, 12));
        EXPECT_GT(value.blue(), value.red() + 30); // value blue, labels black

        RouteCell route("Cell");
        route.setDestination("2001:db8:aaaa:bbbb:cccc:dddd:eeee:1/128");
        route.setMtu("1500");
        route.setExpire("N/A");
        const QImage r = rendered(route, {768, large ? 56 : 50});
        // A long destination runs on over the next column, never cut.
        EXPECT_TRUE(inked(r, {large ? 330 : 215, 8, 15, 12}));
        EXPECT_EQ(inked(r, {667, 7, 25, 40}), large); // MTU and expiry
    }
}

TEST(ListCellTest, ViewIsOnePointShorterAndASelectedRowLetsTheSelectionShow)
{
    Layout small(false);
    for (int height : {50, 56, 90}) {
        RouteCell cell("Cell");
        const QImage image = rendered(cell, {320, height});
        EXPECT_EQ(cell.drawingView()->geometry(), QRect(0, 0, 320, height - 1));
        // The separator under the row is the cell's, not covered.
        EXPECT_FALSE(isWhite(image.pixelColor(300, height - 1))) << height;
        EXPECT_TRUE(isWhite(image.pixelColor(300, height - 2))) << height;
    }
    RouteCell cell("Cell");
    cell.setSelectionStyle(ui::SelectionStyle::Blue);
    cell.setSelected(true);
    const QColor under = rendered(cell, {320, 50}).pixelColor(300, 20);
    EXPECT_GT(under.blue(), 200);
    EXPECT_LT(under.red(), 50);
}

TEST(ListCellTest, ConnectionLampFollowsTheStateAndNAStandsInItsPlace)
{
    for (bool large : {false, true}) {
        Layout layout(large);
        const QPoint centre = large ? QPoint(596, 16) : QPoint(279, 15);
        const QSize size(768, large ? 56 : 50);
        ConnectionCell cell("Cell");
        cell.setState("ESTABLISHED");
        QColor c = rendered(cell, size).pixelColor(centre);
        EXPECT_GT(c.green(), c.red() + 40) << large;
        cell.setState("CLOSED");
        c = rendered(cell, size).pixelColor(centre);
        EXPECT_GT(c.red(), c.green() + 80) << large;
        for (const char* other : {"SYN_SENT", "TIME_WAIT", "*"}) {
            cell.setState(other);
            c = rendered(cell, size).pixelColor(centre);
            EXPECT_GT(c.red(), c.blue() + 80) << other;
            EXPECT_GT(c.green(), c.blue() + 60) << other;
        }
        // "N/A": only the value blue of the text where the lamp was.
        cell.setState("N/A");
        const QImage none = rendered(cell, size);
        const QRect lamp(centre - QPoint(5, 5), QSize(10, 10));
        EXPECT_TRUE(inked(none, lamp));
        for (int y = lamp.top(); y <= lamp.bottom(); ++y)
            for (int x = lamp.left(); x <= lamp.right(); ++x)
                EXPECT_GE(none.pixelColor(x, y).blue() + 1, none.pixelColor(x, y).red());
    }
}
