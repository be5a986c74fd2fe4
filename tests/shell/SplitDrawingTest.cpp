#include "SplitTestSupport.h"

#include "shell/QuillSplitCornersView.h"
#include "shell/QuillSplitDividerView.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

namespace {
QImage render(QWidget* widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int grey(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y));
}
} // namespace

// Each piece fills the pane's square beside the divider except the quarter
// disc, so the pane's corner looks rounded.
TEST(CornersDrawing, TopAndLeftPiecesRoundThePanesTowardTheDivider)
{
    QuillSplitCornersView top;
    top.setCornerBackgroundColor(Qt::black);
    top.setCornerRadius(5.0f);
    top.resize(11, 5);
    const QImage t = render(&top);
    EXPECT_EQ(qAlpha(t.pixel(4, 0)), 255); // corner point beside the divider
    EXPECT_EQ(qAlpha(t.pixel(0, 4)), 0);   // inside the disc of the left pane
    EXPECT_EQ(qAlpha(t.pixel(6, 0)), 255); // the right pane's piece
    EXPECT_EQ(qAlpha(t.pixel(10, 4)), 0);
    EXPECT_EQ(qAlpha(t.pixel(5, 2)), 0); // the divider column itself is left alone

    QuillSplitCornersView left;
    left.setCornerBackgroundColor(Qt::black);
    left.setCornerRadius(5.0f);
    left.setCornersPosition(QuillCornersLeft);
    left.resize(5, 11);
    const QImage l = render(&left);
    EXPECT_EQ(qAlpha(l.pixel(0, 4)), 255);
    EXPECT_EQ(qAlpha(l.pixel(4, 0)), 0);
    EXPECT_EQ(qAlpha(l.pixel(0, 6)), 255);
    EXPECT_EQ(qAlpha(l.pixel(4, 10)), 0);

    // No radius, or an unknown position: nothing at all.
    left.setCornersPosition(9);
    EXPECT_EQ(qAlpha(render(&left).pixel(0, 4)), 0);
    top.setCornerRadius(0.0f);
    EXPECT_EQ(qAlpha(render(&top).pixel(4, 0)), 0);
}

TEST(DividerDrawing, GripBarHasBordersGradientAndARidgedThumb)
{
    splittest::Split s({1024, 748});
    QuillSplitDividerView* divider = s.svc.dividerView();
    EXPECT_EQ(grey(render(divider), 0, 10), 0); // the hairline is black

    s.svc.setDividerStyle(QuillDividerGripBar);
    divider->resize(25, 100);
    const QImage g = render(divider);
    EXPECT_NEAR(grey(g, 0, 10), 179, 2); // border lines at both long sides
    EXPECT_NEAR(grey(g, 24, 10), 179, 2);
    // Light at the left, darker toward the right.
    EXPECT_GT(grey(g, 2, 10), grey(g, 22, 10));
    EXPECT_NEAR(grey(g, 2, 10), 250, 4);
    // Thumb: 9 × 30 centred, dark lines at 0, 4, 8 with a light line beside.
    const int x0 = (25 - 9) / 2;
    const int y0 = (100 - 30) / 2;
    for (int dx : {0, 4, 8}) {
        EXPECT_NEAR(grey(g, x0 + dx, y0 + 10), 89, 2) << dx;
        EXPECT_EQ(grey(g, x0 + dx + 1, y0 + 11), 255) << dx;
    }
    EXPECT_NE(grey(g, x0 + 2, y0 + 10), 89);

    // Stacked panes: the thumb turns with the split.
    s.svc.setVertical(false);
    divider->resize(100, 25);
    const QImage h = render(divider);
    EXPECT_NEAR(grey(h, 10, 0), 179, 2);
    EXPECT_NEAR(grey(h, (100 - 30) / 2 + 10, (25 - 9) / 2 + 4), 89, 2);
}
