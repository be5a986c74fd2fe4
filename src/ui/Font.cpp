#include "ui/Font.h"

#include <QGuiApplication>

#include <cmath>

namespace ui {

QFont Font::systemFont(double points)
{
    // The screens' frames were laid out for Helvetica: prefer faces with its
    // metrics so texts fit where the layouts put them, else the desktop's.
    QFont f = QGuiApplication::font();
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                   QStringLiteral("Helvetica"), QStringLiteral("Arial"),
                   QGuiApplication::font().family()});
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
