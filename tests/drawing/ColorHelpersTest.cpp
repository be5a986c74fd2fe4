#include "drawing/ColorComponents.h"
#include "drawing/ColorHSV.h"
#include "drawing/GlossShading.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Textbook HSB to RGB, written here so the expectations do not lean on the
// code under test.
RgbColor hsb(double h, double s, double v)
{
    h = h - std::floor(h);
    const double h6 = h * 6.0;
    const int i = static_cast<int>(h6) % 6;
    const double f = h6 - std::floor(h6);
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    const double table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    return {float(table[i][0]), float(table[i][1]), float(table[i][2])};
}

void expectRgbNear(RgbColor actual, RgbColor expected, double tol = 1e-5)
{
    EXPECT_NEAR(actual.r, expected.r, tol);
    EXPECT_NEAR(actual.g, expected.g, tol);
    EXPECT_NEAR(actual.b, expected.b, tol);
}

// The caustic by its definition: hue pulled towards yellow (magenta above
// 0.7), greys given saturation 0.2, reds above 0.95 taken below 0.
RgbColor expectedCaustic(double h, double s, double v)
{
    double targetHue = 1.0 / 6.0;
    if (s < 0.001) {
        h = targetHue;
        s = 0.2;
    }
    if (h > 0.95)
        h -= 1.0;
    else if (h > 0.7)
        targetHue = 5.0 / 6.0;
    const double sc = 0.3 * (1 + std::cos(1.4 * kPi * (h - targetHue)));
    return hsb(h * (1 - sc) + targetHue * sc, s, v * (1 - sc) + 1.0 * sc);
}

} // namespace

TEST(HsvConversion, BlackAndGreysHaveNoHueOrSaturation)
{
    const HsvColor black = ColorHSV::HSVfromRGB({0, 0, 0});
    EXPECT_EQ(black.hue, 0.0f);
    EXPECT_EQ(black.sat, 0.0f);
    EXPECT_EQ(black.val, 0.0f);
    for (float g : {0.01f, 0.3f, 0.5f, 180 / 255.0f, 1.0f}) {
        const HsvColor grey = ColorHSV::HSVfromRGB({g, g, g});
        EXPECT_EQ(grey.hue, 0.0f) << g;
        EXPECT_EQ(grey.sat, 0.0f) << g;
        EXPECT_EQ(grey.val, g) << g;
    }
}

TEST(HsvConversion, RedWinsTiesSoYellowIsSixtyDegrees)
{
    const HsvColor yellow = ColorHSV::HSVfromRGB({1, 1, 0});
    EXPECT_FLOAT_EQ(yellow.hue, 60.0f);
    EXPECT_NEAR(ColorHSV::hue(RgbColor{1, 1, 0}), 0.1667, 1e-4);
    EXPECT_FLOAT_EQ(yellow.sat, 1.0f);
    EXPECT_FLOAT_EQ(yellow.val, 1.0f);
    // Magenta: red is the maximum, g - b is negative, wrapped to 300.
    const HsvColor magenta = ColorHSV::HSVfromRGB({1, 0, 1});
    EXPECT_FLOAT_EQ(magenta.hue, 300.0f);
    EXPECT_NEAR(ColorHSV::hue(RgbColor{1, 0, 1}), 0.8333, 1e-4);
}

TEST(HsvConversion, HuesOfEachLeadingComponent)
{
    // A red leaning to blue lands just below 360 degrees.
    EXPECT_NEAR(ColorHSV::HSVfromRGB({1, 0, 0.2f}).hue, 348.0, 1e-4);
    EXPECT_GT(ColorHSV::hue(RgbColor{1, 0, 0.2f}), 0.95f);
    EXPECT_NEAR(ColorHSV::HSVfromRGB({0, 1, 0.5f}).hue, 150.0, 1e-4);
    EXPECT_NEAR(ColorHSV::HSVfromRGB({0.5f, 0, 1}).hue, 270.0, 1e-4);
    // From 8-bit colours, as the screens pass them.
    EXPECT_NEAR(ColorHSV::hue(QColor(38, 119, 38)), 120.0 / 360.0, 1e-6);
    EXPECT_NEAR(ColorHSV::saturation(QColor(38, 119, 38)), 1.0 - 38.0 / 119.0, 1e-6);
    EXPECT_NEAR(ColorHSV::brightness(QColor(209, 148, 12)), 209.0 / 255.0, 1e-6);
    EXPECT_EQ(ColorHSV::value(QColor(209, 148, 12)), ColorHSV::brightness(QColor(209, 148, 12)));
}

TEST(HsvConversion, DifferencesAreNotDividedBySaturation)
{
    // (1, 0.5, 0.25): saturation 0.75; the textbook hue would be 20 degrees,
    // the undivided difference gives 60 * 0.25 = 15.
    const HsvColor c = ColorHSV::HSVfromRGB({1, 0.5f, 0.25f});
    EXPECT_NEAR(c.hue, 15.0, 1e-5);
    EXPECT_NEAR(c.sat, 0.75, 1e-6);
    // Normalised by value first: (0.5, 0.25, 0.125) is the same colour darker.
    const HsvColor dark = ColorHSV::HSVfromRGB({0.5f, 0.25f, 0.125f});
    EXPECT_NEAR(dark.hue, 15.0, 1e-5);
    EXPECT_NEAR(dark.sat, 0.75, 1e-6);
    EXPECT_NEAR(dark.val, 0.5, 1e-6);
}

TEST(ColorComponentsTest, ComponentsOfEightBitColours)
{
    const QColor amber(209, 148, 12, 64);
    EXPECT_FLOAT_EQ(ColorComponents::red(amber), 209 / 255.0f);
    EXPECT_FLOAT_EQ(ColorComponents::green(amber), 148 / 255.0f);
    EXPECT_FLOAT_EQ(ColorComponents::blue(amber), 12 / 255.0f);
    EXPECT_NEAR(ColorComponents::alpha(amber), 64 / 255.0, 1e-6);
    EXPECT_FLOAT_EQ(ColorComponents::red(QColor(153, 0, 0)), 0.6f);
}

TEST(ColorComponentsTest, ColourFromHueMatchesTextbook)
{
    for (double h : {0.0, 0.1, 1.0 / 6.0, 0.4, 0.55, 0.75, 5.0 / 6.0, 0.99})
        expectRgbNear(ColorHSV::colorWithHue(float(h), 0.7f, 0.9f), hsb(h, 0.7, 0.9));
    expectRgbNear(ColorHSV::colorWithHue(1.0f, 1.0f, 1.0f), {1, 0, 0});
}

TEST(CausticColour, NearGreyLeansToYellowWithSaturationPointTwo)
{
    const RgbColor c = GlossShading::causticColor({0.5f, 0.5f, 0.5f});
    // Hue already yellow: full pull 0.6 towards brightness 1.
    expectRgbNear(c, hsb(1.0 / 6.0, 0.2, 0.5 * 0.4 + 0.6));
    EXPECT_NEAR(ColorHSV::saturation(c), 0.2, 1e-5);
    EXPECT_FLOAT_EQ(c.r, c.g);
    EXPECT_LT(c.b, c.r);
    // A grey a hair off neutral still counts as grey.
    expectRgbNear(GlossShading::causticColor({0.5f, 0.5f, 0.49996f}),
                  expectedCaustic(1.0 / 6.0, 0.0, 0.5), 1e-4);
}

TEST(CausticColour, PurpleLeansToMagenta)
{
    const RgbColor purple{0.5f, 0.0f, 1.0f}; // hue 0.75
    const RgbColor c = GlossShading::causticColor(purple);
    expectRgbNear(c, expectedCaustic(0.75, 1.0, 1.0));
    const float hue = ColorHSV::hue(c);
    EXPECT_GT(hue, 0.75f);
    EXPECT_LT(hue, 5.0f / 6.0f);
    // The slate of the legends (hue about 0.7) is just below the purple band.
    const RgbColor slate{98 / 255.0f, 91 / 255.0f, 129 / 255.0f};
    const double h = ColorHSV::hue(slate);
    expectRgbNear(GlossShading::causticColor(slate),
                  expectedCaustic(h, ColorHSV::saturation(slate), ColorHSV::brightness(slate)));
}

TEST(CausticColour, RedAboveNinetyFiveHundredthsIsTakenBelowZero)
{
    const RgbColor red{1.0f, 0.0f, 0.2f}; // hue 348 degrees, 0.9667
    const RgbColor c = GlossShading::causticColor(red);
    expectRgbNear(c, expectedCaustic(348.0 / 360.0, 1.0, 1.0));
    // Pulled from just below 0 towards yellow: an orange, not a magenta.
    EXPECT_LT(ColorHSV::hue(c), 1.0f / 6.0f);
    EXPECT_GT(c.g, c.b);
    // The chart red (hue 0) is pulled to yellow too.
    expectRgbNear(GlossShading::causticColor({0.6f, 0, 0}), expectedCaustic(0.0, 1.0, 0.6));
}

TEST(GlossShadingTest, ValuesAlongTheBar)
{
    const double r = 38 / 255.0, g = 119 / 255.0, b = 38 / 255.0;
    const RgbColor base{float(r), float(g), float(b)};
    const GlossShading::Parameters p = GlossShading::parameters(base);

    const double offset = std::exp(-1.2);
    const double scale = 1.0 / (1.0 - offset);
    const double gloss = std::pow(0.299 * r + 0.587 * g + 0.114 * b, 0.2);
    const double initialWhite = gloss * 0.6, finalWhite = gloss * 0.2;
    const RgbColor caustic = expectedCaustic(1.0 / 3.0, 1.0 - 38.0 / 119.0, g);
    const double color[4] = {r, g, b, 1.0};
    const double causticRgba[4] = {caustic.r, caustic.g, caustic.b, 1.0};

    const auto upper = [&](double t, int i) {
        const double progress = 1 - scale * (std::exp(-1.2 * 2 * t) - offset);
        const double white = initialWhite + (finalWhite - initialWhite) * progress;
        return white + color[i] * (1 - white);
    };
    const auto lower = [&](double t, int i) {
        const double progress = scale * (std::exp(-1.2 * (1 - 2 * (t - 0.5))) - offset);
        return progress * causticRgba[i] + color[i] * (1 - progress);
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(GlossShading::evaluate(p, 0.0f)[i], upper(0.0, i), 1e-5) << i;
        EXPECT_NEAR(GlossShading::evaluate(p, 0.25f)[i], upper(0.25, i), 1e-5) << i;
        EXPECT_NEAR(GlossShading::evaluate(p, 0.5f)[i], lower(0.5, i), 1e-5) << i;
        EXPECT_NEAR(GlossShading::evaluate(p, 1.0f)[i], lower(1.0, i), 1e-5) << i;
    }
    // The landmarks: full white veil at the top, the plain colour just
    // below the middle, the caustic at the bottom, always opaque.
    EXPECT_NEAR(GlossShading::evaluate(p, 0.0f)[1], initialWhite + g * (1 - initialWhite), 1e-5);
    EXPECT_NEAR(GlossShading::evaluate(p, 0.5f)[1], g, 1e-5);
    EXPECT_NEAR(GlossShading::evaluate(p, 1.0f)[0], caustic.r, 1e-5);
    for (float t : {0.0f, 0.3f, 0.49f, 0.5f, 0.8f, 1.0f})
        EXPECT_NEAR(GlossShading::evaluate(p, t)[3], 1.0, 1e-6) << t;
}

TEST(GlossShadingTest, ParametersIgnoreAlphaAndScaleWithLuminance)
{
    const GlossShading::Parameters p = GlossShading::parameters({0.6f, 0, 0});
    EXPECT_EQ(p.color[3], 1.0f);
    EXPECT_EQ(p.caustic[3], 1.0f);
    EXPECT_FLOAT_EQ(p.expCoefficient, 1.2f);
    EXPECT_NEAR(p.expOffset, std::exp(-1.2), 1e-7);
    EXPECT_NEAR(p.expScale, 1.0 / (1.0 - std::exp(-1.2)), 1e-6);
    EXPECT_NEAR(p.initialWhite, 0.6 * std::pow(0.299 * 0.6, 0.2), 1e-6);
    EXPECT_NEAR(p.finalWhite, 0.2 * std::pow(0.299 * 0.6, 0.2), 1e-6);
}
