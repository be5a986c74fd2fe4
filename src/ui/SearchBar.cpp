#include "ui/SearchBar.h"

#include <QPainter>

namespace ui {

SearchBar::SearchBar(QWidget* parent) : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("Search"));
    setAccessibleName(QStringLiteral("Search"));
    setClearButtonEnabled(true);
    setFixedHeight(kHeight);
    // The grey band round a rounded white field, drawn by us, so the bar
    // looks the same in every Qt style.
    setFrame(false);
    setTextMargins(16, 0, 16, 0);
    setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    // A search of any length is accepted; the filter copes.
    setMaxLength(1 << 20);
}

void SearchBar::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(201, 206, 214));
        p.setPen(QColor(160, 166, 176));
        p.drawLine(0, height() - 1, width(), height() - 1);
        p.setPen(QColor(150, 150, 150));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(6.5, 7.5, width() - 13, height() - 15), 14, 14);
    }
    QLineEdit::paintEvent(event);
}

} // namespace ui
