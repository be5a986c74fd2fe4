#include "DrawingTestSupport.h"

#include "drawing/OnOffView.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QEvent>
#include <QPainter>

using namespace drawingtest;

namespace {

// What the lamp paints, on a transparent background.
QImage rendered(OnOffView& view)
{
    QImage image(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    view.render(&painter, QPoint(), QRegion(), QWidget::RenderFlags());
    painter.end();
    return image;
}

bool fullyTransparent(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST(OnOffViewTest, LampsAreGlossyDiscsMadeOnceAtTheFirstLampsSize)
{
    ensureFirstLamp();
    const QImage red = OnOffView::lampImage(OnOffView::Red);
    OnOffView other(QRect(0, 0, 40, 30), 2.0f); // a later, larger lamp changes nothing
    EXPECT_EQ(OnOffView::lampImage(OnOffView::Red), red);
    EXPECT_EQ(red.size(), kFirstLampSize * 2);
    const QImage green = OnOffView::lampImage(OnOffView::Green);
    const QImage amber = OnOffView::lampImage(OnOffView::Amber);
    // Radius half the side: the corners are outside the disc.
    EXPECT_TRUE(isWhite(pixelAt(red, 1, 1)));
    EXPECT_TRUE(isWhite(pixelAt(green, 12.5, 12.5)));
    const QColor r = pixelAt(red, 7, 7.5), g = pixelAt(green, 7, 7.5), a = pixelAt(amber, 7, 7.5);
    EXPECT_GT(r.red(), r.green() + 80);
    EXPECT_GT(g.green(), g.red() + 40);
    EXPECT_GT(a.red(), a.blue() + 80);
    EXPECT_GT(a.green(), a.blue() + 60);
}

TEST(OnOffViewTest, StartsRedRepaintsOnChangeAndOnlyIndicesZeroToTwoDraw)
{
    ensureFirstLamp();
    QWidget window;
    window.resize(40, 40);
    auto* view = new OnOffView(QRect(5, 5, 14, 14), 7.0f, &window);
    EXPECT_EQ(view->color(), OnOffView::Red);
    EXPECT_EQ(view->property("dumpText").toString(), "[red]");
    EXPECT_GT(pixelAt(rendered(*view), 7, 7.5).red(), 120);
    PaintCounter counter;
    view->installEventFilter(&counter);
    window.show();
    ASSERT_TRUE(testsupport::waitUntil([&] { return counter.paints > 0; }));
    const int before = counter.paints;
    view->setColor(OnOffView::Amber);
    EXPECT_TRUE(testsupport::waitUntil([&] { return counter.paints > before; }));
    EXPECT_EQ(view->property("dumpText").toString(), "[amber]");
    const QColor amber = pixelAt(rendered(*view), 7, 7.5);
    EXPECT_GT(amber.green(), amber.blue() + 60);
    for (int index : {3, -1}) {
        view->setColor(index);
        EXPECT_TRUE(fullyTransparent(rendered(*view))) << index;
        EXPECT_EQ(view->property("dumpText").toString(), "") << index;
        EXPECT_TRUE(OnOffView::lampImage(index).isNull()) << index;
    }
}
