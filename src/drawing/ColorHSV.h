#pragma once

#include "drawing/ColorComponents.h"

// hue in degrees [0, 360), sat and val 0..1.
struct HsvColor {
    float hue = 0.0f;
    float sat = 0.0f;
    float val = 0.0f;
};

// Hue, saturation and brightness of RGB colours, with the exact float and
// double steps the gloss colours depend on: the hue differences are not
// divided by the saturation, and the red test wins ties.
class ColorHSV {
public:
    static HsvColor HSVfromRGB(RgbColor rgb);

    // hue as a fraction 0..1.
    static float hue(RgbColor rgb);
    static float saturation(RgbColor rgb);
    static float brightness(RgbColor rgb);
    static float value(RgbColor rgb) { return brightness(rgb); }

    static float hue(const QColor& color) { return hue(ColorComponents::rgb(color)); }
    static float saturation(const QColor& color) { return saturation(ColorComponents::rgb(color)); }
    static float brightness(const QColor& color) { return brightness(ColorComponents::rgb(color)); }
    static float value(const QColor& color) { return brightness(color); }

    // A colour from hue (fraction, wraps), saturation and brightness.
    static RgbColor colorWithHue(float hue, float saturation, float brightness);
};
