#pragma once

#include <compare>

namespace ui {

// A row of a table: section and row, both from 0.
struct IndexPath {
    int section = 0;
    int row = 0;
    auto operator<=>(const IndexPath&) const = default;
};

} // namespace ui
