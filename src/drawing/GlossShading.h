#pragma once

#include "drawing/ColorComponents.h"

#include <array>

// The vertical shading of a glossy bar: the upper half is the base colour
// under a white veil that thins towards the middle, the lower half runs from
// the base colour to a "caustic" colour at the bottom. t = 0 is the top edge
// of the bar as the user sees it.
class GlossShading {
public:
    struct Parameters {
        float color[4];
        float caustic[4];
        float expCoefficient;
        float expScale;
        float expOffset;
        float initialWhite;
        float finalWhite;
    };

    static Parameters parameters(RgbColor base);
    // RGBA at t in [0, 1].
    static std::array<float, 4> evaluate(const Parameters& params, float t);

    // The colour the bottom edge fades to: the base hue pulled towards
    // yellow (or magenta for purples), greys given a faint yellow.
    static RgbColor causticColor(RgbColor base);
};
