#include "drawing/ListCellView.h"

#include "drawing/ListCell.h"

#include <QPainter>
#include <QPaintEvent>

ListCellView::ListCellView(QWidget* cell) : QWidget(cell)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ListCellView::paintEvent(QPaintEvent* event)
{
    if (auto* cell = qobject_cast<ListCell*>(parentWidget())) {
        QPainter painter(this);
        cell->drawContentView(painter, QRectF(event->rect()));
    }
}
