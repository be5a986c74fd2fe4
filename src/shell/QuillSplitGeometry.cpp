#include "shell/QuillSplitGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
// Frames come in points as doubles; a widget wants whole pixels and never a
// negative size (a delegate may constrain the split past either end).
QRect toPixels(double x, double y, double w, double h)
{
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    const int left = px(x);
    const int top = px(y);
    return QRect(left, top, std::max(0, px(x + std::max(0.0, w)) - left),
                 std::max(0, px(y + std::max(0.0, h)) - top));
}
} // namespace

QuillSplitGeometry QuillSplitGeometry::compute(const Input& in)
{
    const double W = in.size.width();
    const double H = in.size.height();
    const double P = in.splitPosition;
    const double D = in.splitWidth;
    const double L = in.vertical ? W : H;

    struct Span {
        double start, length;
    };
    Span master, divider, detail;
    if (in.masterFirst && in.showMaster) {
        master = {0, P};
        divider = {P, D};
        detail = {P + D, L - (P + D)};
    } else if (in.masterFirst) {
        master = {-(P + D), P};
        divider = {-D, D};
        detail = {0, L};
    } else if (in.showMaster) {
        master = {L - P, P};
        divider = {L - (P + D), D};
        detail = {0, L - (P + D)};
    } else {
        master = {L + D, P};
        divider = {L, D};
        detail = {0, L};
    }
    const auto frame = [&](Span s) {
        return in.vertical ? toPixels(s.start, 0, s.length, H) : toPixels(0, s.start, W, s.length);
    };

    QuillSplitGeometry g;
    g.master = frame(master);
    g.divider = frame(divider);
    g.detail = frame(detail);

    // The corners views straddle the divider at both edges, r deep.
    const double r = in.cornerRadius;
    const double extent = static_cast<float>(2.0 * r + D);
    const double edge = !in.showMaster ? -D : in.masterFirst ? P : L - (P + D);
    if (in.vertical) {
        g.leadingCorners = toPixels(edge - r, 0, extent, r);
        g.trailingCorners = toPixels(edge - r, H - r, extent, r);
    } else {
        g.leadingCorners = toPixels(0, edge - r, r, extent);
        g.trailingCorners = toPixels(W - r, edge - r, r, extent);
    }
    return g;
}
