#include "shell/QuillSplitCornersView.h"

#include "shell/QuillSplitViewController.h"

#include <QPainter>
#include <QPainterPath>

QuillSplitCornersView::QuillSplitCornersView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
}

void QuillSplitCornersView::setCornerRadius(float radius)
{
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    update();
}

void QuillSplitCornersView::setSplitViewController(QuillSplitViewController* controller)
{
    if (controller == m_splitViewController)
        return;
    m_splitViewController = controller;
    update();
}

void QuillSplitCornersView::setCornersPosition(int position)
{
    if (position == m_cornersPosition)
        return;
    m_cornersPosition = position;
    update();
}

void QuillSplitCornersView::setCornerBackgroundColor(const QColor& color)
{
    if (color == m_cornerBackgroundColor)
        return;
    m_cornerBackgroundColor = color;
    update();
}

void QuillSplitCornersView::paintEvent(QPaintEvent*)
{
    const double r = m_cornerRadius;
    if (r <= 0)
        return;
    const double maxX = width();
    const double maxY = height();

    // Each piece: an r × r square beside the divider, less the disc centred
    // on the square's corner away from where divider and edge meet.
    struct Piece {
        QRectF square;
        QPointF centre;
    };
    Piece pieces[2];
    switch (m_cornersPosition) {
    case QuillCornersTop:
        pieces[0] = {QRectF(0, 0, r, r), QPointF(0, r)};
        pieces[1] = {QRectF(maxX - r, 0, r, r), QPointF(maxX, maxY)};
        break;
    case QuillCornersBottom:
        pieces[0] = {QRectF(0, maxY - r, r, r), QPointF(0, maxY - r)};
        pieces[1] = {QRectF(maxX - r, maxY - r, r, r), QPointF(maxX, maxY - r)};
        break;
    case QuillCornersLeft:
        pieces[0] = {QRectF(0, 0, r, r), QPointF(r, 0)};
        pieces[1] = {QRectF(0, maxY - r, r, r), QPointF(r, maxY)};
        break;
    case QuillCornersRight:
        pieces[0] = {QRectF(0, 0, r, r), QPointF(0, 0)};
        pieces[1] = {QRectF(0, maxY - r, r, r), QPointF(0, maxY)};
        break;
    default:
        return;
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Piece& piece : pieces) {
        QPainterPath square;
        square.addRect(piece.square);
        QPainterPath disc;
        disc.addEllipse(piece.centre, r, r);
        QPainterPath shape = square.subtracted(disc);
        shape.setFillRule(Qt::WindingFill);
        painter.fillPath(shape, m_cornerBackgroundColor);
    }
}
