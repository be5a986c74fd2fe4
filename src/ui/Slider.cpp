#include "ui/Slider.h"

#include "ui/FocusMark.h"

#include <QWheelEvent>

namespace ui {

Slider::Slider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void Slider::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore(); // on to the table underneath
        return;
    }
    QSlider::wheelEvent(event);
}

void Slider::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (hasFocus())
        FocusMark::paint(this);
}

} // namespace ui
