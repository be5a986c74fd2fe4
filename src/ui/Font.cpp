#include "ui/Font.h"

#include <QGuiApplication>

#include <cmath>

namespace ui {

QFont Font::systemFont(double points)
{
    QFont f = QGuiApplication::font();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points))));
    f.setBold(false);
    return f;
}

QFont Font::boldSystemFont(double points)
{
    QFont f = systemFont(points);
    f.setBold(true);
    return f;
}

} // namespace ui
