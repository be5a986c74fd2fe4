#pragma once

#include <QColor>

// One segment of a bar chart. Only the ratios between the values of one
// chart matter.
class BarChartItem {
public:
    BarChartItem(float value, const QColor& color) : m_value(value), m_color(color) {}

    float value() const { return m_value; }
    void setValue(float value) { m_value = value; }
    QColor color() const { return m_color; }
    void setColor(const QColor& color) { m_color = color; }

private:
    float m_value;
    QColor m_color;
};
