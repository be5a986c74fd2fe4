#include "drawing/GlossShading.h"

#include "drawing/ColorHSV.h"

#include <cmath>

RgbColor GlossShading::causticColor(RgbColor base)
{
    float h = ColorHSV::hue(base);
    float s = ColorHSV::saturation(base);
    const float v = ColorHSV::brightness(base);

    const RgbColor yellow{1.0f, 1.0f, 0.0f};
    const RgbColor magenta{1.0f, 0.0f, 1.0f};
    float targetHue = ColorHSV::hue(yellow);
    float targetBrightness = ColorHSV::brightness(yellow);

    if (static_cast<double>(s) < 0.001) {
        h = targetHue;
        s = 0.2f;
    }
    if (h > 0.95f) {
        h = static_cast<float>(h - 1.0);
    } else if (h > 0.7f) {
        targetHue = ColorHSV::hue(magenta);
        targetBrightness = ColorHSV::brightness(magenta);
    }
    // 4.398... is 1.4 pi: the pull is strongest at the target hue.
    const float sc = static_cast<float>(static_cast<double>(0.3f) *
                                        (1.0 + std::cos(4.398229640124304 * (h - targetHue))));
    const float newHue = h * (1.0f - sc) + targetHue * sc;
    const float newBrightness = v * (1.0f - sc) + targetBrightness * sc;
    return ColorHSV::colorWithHue(newHue, s, newBrightness);
}

GlossShading::Parameters GlossShading::parameters(RgbColor base)
{
    Parameters p{};
    p.color[0] = base.r;
    p.color[1] = base.g;
    p.color[2] = base.b;
    p.color[3] = 1.0f; // the item's alpha never reaches the gloss
    const RgbColor caustic = causticColor(base);
    p.caustic[0] = caustic.r;
    p.caustic[1] = caustic.g;
    p.caustic[2] = caustic.b;
    p.caustic[3] = 1.0f;
    p.expCoefficient = 1.2f;
    p.expOffset = std::exp(-1.2f);
    p.expScale = static_cast<float>(1.0 / (1.0 - static_cast<double>(p.expOffset)));
    const float luma = 0.299f * base.r + 0.587f * base.g + 0.114f * base.b;
    const float glossScale = static_cast<float>(std::pow(static_cast<double>(luma), 0.2));
    p.initialWhite = static_cast<float>(glossScale * 0.6);
    p.finalWhite = static_cast<float>(glossScale * 0.2);
    return p;
}

std::array<float, 4> GlossShading::evaluate(const Parameters& params, float t)
{
    std::array<float, 4> out{};
    if (t < 0.5f) {
        const float p = 2.0f * t;
        const float progress =
            1.0f - params.expScale * (std::exp(-params.expCoefficient * p) - params.expOffset);
        const float white =
            params.initialWhite + (params.finalWhite - params.initialWhite) * progress;
        for (int i = 0; i < 4; ++i)
            out[i] = static_cast<float>(static_cast<double>(white) +
                                        static_cast<double>(params.color[i]) * (1.0 - white));
    } else {
        const float p = 2.0f * (t - 0.5f);
        const float progress =
            params.expScale * (std::exp(-params.expCoefficient * (1.0f - p)) - params.expOffset);
        for (int i = 0; i < 4; ++i)
            out[i] = progress * params.caustic[i] + params.color[i] * (1.0f - progress);
    }
    return out;
}
