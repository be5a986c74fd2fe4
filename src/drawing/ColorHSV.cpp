#include "drawing/ColorHSV.h"

#include <algorithm>
#include <cmath>

HsvColor ColorHSV::HSVfromRGB(RgbColor rgb)
{
    const float v = std::max({rgb.r, rgb.g, rgb.b});
    if (v == 0.0f)
        return {0.0f, 0.0f, 0.0f};
    const float r = rgb.r / v;
    const float g = rgb.g / v;
    const float b = rgb.b / v;
    const float mn = std::min({r, g, b});
    const float mx = std::max({r, g, b});
    const float s = mx - mn;
    if (s == 0.0f)
        return {0.0f, 0.0f, v};
    float hue;
    if (mx == r) {
        hue = static_cast<float>(0.0 + 60.0 * static_cast<double>(g - b));
        if (hue < 0.0f)
            hue = static_cast<float>(hue + 360.0);
    } else if (mx == g) {
        hue = static_cast<float>(120.0 + 60.0 * static_cast<double>(b - r));
    } else {
        hue = static_cast<float>(240.0 + 60.0 * static_cast<double>(r - g));
    }
    return {hue, s, v};
}

float ColorHSV::hue(RgbColor rgb)
{
    return static_cast<float>(HSVfromRGB(rgb).hue / 360.0);
}

float ColorHSV::saturation(RgbColor rgb)
{
    return HSVfromRGB(rgb).sat;
}

float ColorHSV::brightness(RgbColor rgb)
{
    return HSVfromRGB(rgb).val;
}

RgbColor ColorHSV::colorWithHue(float hue, float saturation, float brightness)
{
    const float h = hue - std::floor(hue);
    const float s = std::clamp(saturation, 0.0f, 1.0f);
    const float v = std::clamp(brightness, 0.0f, 1.0f);
    const float h6 = h * 6.0f;
    const int sector = std::min(5, static_cast<int>(h6));
    const float f = h6 - static_cast<float>(sector);
    const float p = v * (1.0f - s);
    const float q = v * (1.0f - s * f);
    const float t = v * (1.0f - s * (1.0f - f));
    switch (sector) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}
