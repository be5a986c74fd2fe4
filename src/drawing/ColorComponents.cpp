#include "drawing/ColorComponents.h"

float ColorComponents::red(const QColor& color)
{
    return color.toRgb().redF();
}

float ColorComponents::green(const QColor& color)
{
    return color.toRgb().greenF();
}

float ColorComponents::blue(const QColor& color)
{
    return color.toRgb().blueF();
}

float ColorComponents::alpha(const QColor& color)
{
    return color.alphaF();
}

RgbColor ColorComponents::rgb(const QColor& color)
{
    const QColor c = color.toRgb();
    return {c.redF(), c.greenF(), c.blueF()};
}
