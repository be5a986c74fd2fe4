#include "shell/QuillSplitDividerView.h"

#include "shell/QuillSplitViewController.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

QuillSplitDividerView::QuillSplitDividerView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("divider"));
}

void QuillSplitDividerView::setAllowsDragging(bool allows)
{
    m_allowsDragging = allows;
    setAttribute(Qt::WA_TransparentForMouseEvents, !allows);
    if (allows)
        setCursor(isVerticalSplit() ? Qt::SplitHCursor : Qt::SplitVCursor);
    else
        unsetCursor();
}

bool QuillSplitDividerView::isVerticalSplit() const
{
    return !m_splitViewController || m_splitViewController->isVertical();
}

void QuillSplitDividerView::paintEvent(QPaintEvent*)
{
    // The hairline is the black background alone; styles other than the
    // grip bar draw nothing over it.
    if (!m_splitViewController || m_splitViewController->dividerStyle() != QuillDividerGripBar)
        return;
    const QRectF b = rect();
    const bool vertical = isVerticalSplit();
    QPainter painter(this);

    QLinearGradient gradient =
        vertical ? QLinearGradient(b.left(), b.center().y(), b.right(), b.center().y())
                 : QLinearGradient(b.center().x(), b.top(), b.center().x(), b.bottom());
    gradient.setColorAt(0.0, QColor::fromRgbF(0.988f, 0.988f, 0.988f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0.875f, 0.875f, 0.875f));
    gradient.setSpread(QGradient::PadSpread);
    painter.fillRect(b, gradient);

    const QColor border = QColor::fromRgbF(0.7f, 0.7f, 0.7f);
    if (vertical) {
        painter.fillRect(QRectF(0, 0, 1, height()), border);
        painter.fillRect(QRectF(width() - 1, 0, 1, height()), border);
    } else {
        painter.fillRect(QRectF(0, 0, width(), 1), border);
        painter.fillRect(QRectF(0, height() - 1, width(), 1), border);
    }
    drawGripThumbInRect(painter, b);
}

void QuillSplitDividerView::drawGripThumbInRect(QPainter& painter, const QRectF& rect) const
{
    const bool vertical = isVerticalSplit();
    const QSizeF box = vertical ? QSizeF(9, 30) : QSizeF(30, 9);
    // The origin is centred in the rectangle's size; its own origin is not added.
    const QPointF origin((rect.width() - box.width()) * 0.5, (rect.height() - box.height()) * 0.5);
    const QColor dark = QColor::fromRgbF(0.35f, 0.35f, 0.35f);
    const QColor light = Qt::white;
    for (const int offset : {0, 4, 8}) {
        if (vertical) {
            const QRectF line(origin.x() + offset, origin.y(), 1, 30);
            painter.fillRect(line, dark);
            painter.fillRect(line.translated(1, 1), light);
        } else {
            const QRectF line(origin.x(), origin.y() + offset, 30, 1);
            painter.fillRect(line, dark);
            painter.fillRect(line.translated(-1, 1), light);
        }
    }
}

void QuillSplitDividerView::mousePressEvent(QMouseEvent* event)
{
    m_dragging = m_allowsDragging && event->button() == Qt::LeftButton;
    m_previous = event->globalPosition();
    event->accept();
}

void QuillSplitDividerView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !m_splitViewController)
        return;
    // Screen coordinates: the divider itself moves under the pointer.
    const QPointF now = event->globalPosition();
    double delta = isVerticalSplit() ? now.x() - m_previous.x() : now.y() - m_previous.y();
    m_previous = now;
    if (!m_splitViewController->isMasterBeforeDetail())
        delta = -delta;
    m_splitViewController->setSplitPosition(m_splitViewController->splitPosition() + delta);
}

void QuillSplitDividerView::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    event->accept();
}
