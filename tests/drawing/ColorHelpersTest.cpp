#include "drawing/ColorHSV.h"
#include "drawing/GlossShading.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
void expectRgbNear(RgbColor actual, RgbColor expected, double tol = 1e-5)
{
    EXPECT_NEAR(actual.r, expected.r, tol);
    EXPECT_NEAR(actual.g, expected.g, tol);
    EXPECT_NEAR(actual.b, expected.b, tol);
}
} // namespace

TEST(HsvConversion, HueInEachSectorTiesAndGreys)
{
    for (float g : {0.0f, 0.3f, 1.0f}) {
        const HsvColor grey = ColorHSV::HSVfromRGB({g, g, g});
        EXPECT_EQ(grey.hue, 0.0f) << g;
        EXPECT_EQ(grey.sat, 0.0f) << g;
        EXPECT_EQ(grey.val, g) << g;
    }
    EXPECT_FLOAT_EQ(ColorHSV::HSVfromRGB({1, 1, 0}).hue, 60.0f);  // red wins the tie
    EXPECT_FLOAT_EQ(ColorHSV::HSVfromRGB({1, 0, 1}).hue, 300.0f); // wrapped below 0
    EXPECT_NEAR(ColorHSV::HSVfromRGB({0, 1, 0.5f}).hue, 150.0, 1e-4);
    EXPECT_NEAR(ColorHSV::HSVfromRGB({0.5f, 0, 1}).hue, 270.0, 1e-4);
    // (1, 0.5, 0.25): the difference is not divided by the saturation, so the
    // hue is 60 * 0.25 = 15 degrees (not the textbook 20) at any brightness.
    for (float scale : {1.0f, 0.5f}) {
        const HsvColor c = ColorHSV::HSVfromRGB({scale, 0.5f * scale, 0.25f * scale});
        EXPECT_NEAR(c.hue, 15.0, 1e-5) << scale;
        EXPECT_NEAR(c.sat, 0.75, 1e-6) << scale;
    }
}

TEST(HsvConversion, ColourFromHueAtTheSectorsAndTheWrap)
{
    expectRgbNear(ColorHSV::colorWithHue(0.0f, 1, 1), {1, 0, 0});
    expectRgbNear(ColorHSV::colorWithHue(1.0f / 3, 1, 1), {0, 1, 0});
    expectRgbNear(ColorHSV::colorWithHue(0.5f, 1, 1), {0, 1, 1}); // cyan
    expectRgbNear(ColorHSV::colorWithHue(2.0f / 3, 1, 0.5f), {0, 0, 0.5f});
    expectRgbNear(ColorHSV::colorWithHue(1.0f, 1, 1), {1, 0, 0});
    expectRgbNear(ColorHSV::colorWithHue(0.25f, 0.5f, 1), {0.75f, 1, 0.5f});
}

TEST(CausticColour, PulledTowardsYellowOrMagenta)
{
    // Greys get yellow's hue at saturation 0.2; at the target hue the pull is
    // the full 0.6, so brightness 0.5 becomes 0.5 * 0.4 + 1 * 0.6.
    expectRgbNear(GlossShading::causticColor({0.5f, 0.5f, 0.5f}), {0.8f, 0.8f, 0.64f});
    // Purple (hue 0.75) leans to magenta, not back to yellow.
    const float purple = ColorHSV::hue(GlossShading::causticColor({0.5f, 0.0f, 1.0f}));
    EXPECT_GT(purple, 0.75f);
    EXPECT_LT(purple, 5.0f / 6.0f);
    // A red above 0.95 is taken below 0 and pulled up to orange.
    const RgbColor red = GlossShading::causticColor({1.0f, 0.0f, 0.2f});
    EXPECT_LT(ColorHSV::hue(red), 1.0f / 6.0f);
    EXPECT_GT(red.g, red.b);
}

TEST(GlossShadingTest, VeilOnTopBaseAtTheMiddleCausticAtTheBottom)
{
    const RgbColor base{38 / 255.0f, 119 / 255.0f, 38 / 255.0f};
    const GlossShading::Parameters p = GlossShading::parameters(base);
    const auto at = [&](float t) {
        const auto c = GlossShading::evaluate(p, t);
        EXPECT_NEAR(c[3], 1.0, 1e-6) << t; // always opaque
        return RgbColor{c[0], c[1], c[2]};
    };
    expectRgbNear(at(0.5f), base);
    expectRgbNear(at(1.0f), GlossShading::causticColor(base));
    EXPECT_GT(at(0.0f).r, at(0.25f).r);
    EXPECT_GT(at(0.49f).r, base.r + 0.05f);
    // For mid grey (luminance 0.5) the veil is 0.6 * 0.5^0.2 = 0.5223 white
    // at the top edge.
    const GlossShading::Parameters grey = GlossShading::parameters({0.5f, 0.5f, 0.5f});
    EXPECT_NEAR(GlossShading::evaluate(grey, 0.0f)[0], 0.76117, 1e-4);
}
