#pragma once

#include <QRect>
#include <QSizeF>

// Where the split view's pieces go for one size and setting: a pure
// function, so every case can be checked without a window. Coordinates are
// the container's; a hidden master lies just off screen, not removed.
struct QuillSplitGeometry {
    struct Input {
        QSizeF size;              // W × H of the container
        double splitPosition = 0; // P: the master's length along the split axis
        double splitWidth = 0;    // D: the divider's thickness
        bool vertical = true;     // panes side by side
        bool masterFirst = true;  // master on the left (or top)
        bool showMaster = true;
        double cornerRadius = 0; // r of the corners views
    };

    QRect master;
    QRect divider;
    QRect detail;
    QRect leadingCorners;
    QRect trailingCorners;

    static QuillSplitGeometry compute(const Input& in);
};
