#include "DrawingTestSupport.h"

#include "drawing/ConnectionCell.h"
#include "drawing/ProcessCell.h"
#include "drawing/RouteCell.h"
#include "support/IdiomScope.h"

#include <gtest/gtest.h>
#include <QPainter>

using namespace drawingtest;

namespace {

// The layout of one block: large (the pad idiom) or small.
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

// Whether anything but white is drawn inside the rectangle.
bool inked(const QImage& image, QRect area)
{
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!isWhite(image.pixelColor(x, y)))
                return true;
    return false;
}

// The darkest pixel of an area, to tell label black from value blue.
QColor darkest(const QImage& image, QRect area)
{
    QColor best = Qt::white;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (luminance(image.pixelColor(x, y)) < luminance(best))
                best = image.pixelColor(x, y);
    return best;
}

void fill(ProcessCell& c)
{
    c.setName("kworker");
    c.setRuntime("1h 0m 0s");
    c.setPID("4321");
    c.setPPID("2");
    c.setPrio("-51");
    c.setPGID("4321");
    c.setUID("1000");
}

} // namespace

TEST(ListCellTest, ProcessCellDrawsItsLayoutsFieldsInTheirColours)
{
    {
        Layout small(false);
        ProcessCell cell("Cell");
        fill(cell);
        const QImage image = rendered(cell, {768, 50});
        EXPECT_EQ(cell.dumpText(), "kworker\tRuntime:\t1h 0m 0s\tPID:\t4321\tPPID:\t2\t"
                                   "Priority:\t-51");
        EXPECT_TRUE(inked(image, {10, 5, 40, 18}));
        EXPECT_TRUE(inked(image, {222, 29, 15, 12}));
        // PGID and UID are set but this layout has no place for them.
        EXPECT_FALSE(inked(image, {300, 0, 468, 49}));
        const QColor label = darkest(image, {10, 29, 20, 12}); // "PID:"
        const QColor value = darkest(image, {35, 29, 25, 12}); // "4321"
        EXPECT_LT(label.blue(), 60);
        EXPECT_GT(value.blue(), value.red() + 30);
    }
    Layout large(true);
    ProcessCell cell("Cell");
    fill(cell);
    const QImage image = rendered(cell, {768, 56});
    EXPECT_EQ(cell.dumpText(), "kworker\tRuntime:\t1h 0m 0s\tPriority:\t-51\tPID:\t4321\tPPID:\t"
                               "2\tPGID:\t4321\tUID:\t1000");
    EXPECT_TRUE(inked(image, {533, 32, 25, 13})); // PGID
    EXPECT_TRUE(inked(image, {653, 32, 25, 13})); // UID
    EXPECT_FALSE(inked(image, {20, 2, 200, 12})); // the name sits lower, between the lines
    EXPECT_TRUE(inked(image, {20, 16, 60, 18}));
}

TEST(ListCellTest, ViewIsOnePointShorterAndASelectedRowLetsTheSelectionShow)
{
    Layout small(false);
    for (int height : {50, 56, 90}) {
        RouteCell cell("Cell");
        cell.setDestination("default");
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

TEST(ListCellTest, RouteCellSmallLayoutDrawsFourFieldsLargeEight)
{
    const auto route = [](RouteCell& c) {
        c.setDestination("2001:db8:aaaa:bbbb:cccc:dddd:eeee:1/128");
        c.setGateway("link#2");
        c.setInterface("eth0");
        c.setFlags("UH");
        c.setRefs("N/A");
        c.setUse("N/A");
        c.setMtu("1500");
        c.setExpire("N/A");
    };
    {
        Layout small(false);
        RouteCell cell("Cell");
        route(cell);
        const QImage image = rendered(cell, {768, 50});
        EXPECT_EQ(cell.dumpText(), "Destination:\t2001:db8:aaaa:bbbb:cccc:dddd:eeee:1/128\tNetif:\t"
                                   "eth0\tGateway:\tlink#2\tFlags:\tUH");
        // A long destination runs on over the next column, never cut.
        EXPECT_TRUE(inked(image, {235 - 20, 8, 15, 12}));
        EXPECT_FALSE(inked(image, {340, 0, 428, 49}));
    }
    Layout large(true);
    RouteCell cell("Cell");
    route(cell);
    const QImage image = rendered(cell, {768, 56});
    EXPECT_TRUE(inked(image, {667, 7, 25, 13}));  // MTU
    EXPECT_TRUE(inked(image, {667, 32, 25, 13})); // expiry
    EXPECT_TRUE(cell.dumpText().endsWith("Use:\tN/A\tExpire:\tN/A"));
}

TEST(ListCellTest, ConnectionLampFollowsTheStateAndNAStandsInItsPlace)
{
    const auto lampAt = [](const QImage& image, QPointF centre) {
        return image.pixelColor(centre.toPoint());
    };
    for (bool large : {false, true}) {
        Layout layout(large);
        const QPointF centre = large ? QPointF(596, 16) : QPointF(279, 15);
        const QSize size(768, large ? 56 : 50);
        ConnectionCell cell("Cell");
        cell.setLocalAddress("127.0.0.1");
        cell.setLocalPort("40000");
        cell.setRemoteAddress("127.0.0.1");
        cell.setRemotePort("22");

        cell.setState("ESTABLISHED");
        QColor c = lampAt(rendered(cell, size), centre);
        EXPECT_GT(c.green(), c.red() + 40) << large;
        cell.setState("CLOSED");
        c = lampAt(rendered(cell, size), centre);
        EXPECT_GT(c.red(), c.green() + 80) << large;
        for (const char* other : {"SYN_SENT", "TIME_WAIT", "*"}) {
            cell.setState(other);
            c = lampAt(rendered(cell, size), centre);
            EXPECT_GT(c.red(), c.blue() + 80) << other;
            EXPECT_GT(c.green(), c.blue() + 60) << other;
        }
        cell.setState("N/A");
        const QImage none = rendered(cell, size);
        // Only the value blue of the text where the lamp was.
        const QRect lamp(centre.toPoint() - QPoint(5, 5), QSize(10, 10));
        for (int y = lamp.top(); y <= lamp.bottom(); ++y)
            for (int x = lamp.left(); x <= lamp.right(); ++x) {
                const QColor p = none.pixelColor(x, y);
                EXPECT_GE(p.blue() + 1, p.red()) << x << "," << y;
            }
        EXPECT_TRUE(inked(none, lamp));
    }
    Layout small(false);
    ConnectionCell cell("Cell");
    cell.setLocalAddress("*");
    cell.setLocalPort("53");
    cell.setRemoteAddress("*");
    cell.setRemotePort("*");
    cell.setState("N/A");
    EXPECT_EQ(cell.dumpText(), "Local:\t* : 53\tState:\tN/A\tRemote:\t* : *");
    cell.setState("ESTABLISHED");
    EXPECT_EQ(cell.dumpText(), "Local:\t* : 53\tState:\t[green]\tRemote:\t* : *\tESTABLISHED");
}
