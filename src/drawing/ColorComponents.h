#pragma once

#include <QColor>

// A colour as three 32-bit float components, each 0..1.
struct RgbColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// Component access in the float precision the chart arithmetic uses.
// Callers pass RGB colours; other specs are converted first.
class ColorComponents {
public:
    static float red(const QColor& color);
    static float green(const QColor& color);
    static float blue(const QColor& color);
    static float alpha(const QColor& color);
    static RgbColor rgb(const QColor& color);
};
