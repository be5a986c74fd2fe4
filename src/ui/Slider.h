#pragma once

#include <QSlider>

namespace ui {

// A slider for settings rows: the mouse wheel passing over it on the way
// down a table scrolls the table instead of changing the setting, unless the
// user has given the slider the keyboard focus; with it, it shows a focus mark.
class Slider : public QSlider {
    Q_OBJECT
public:
    explicit Slider(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
