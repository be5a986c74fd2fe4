#pragma once

#include "ui/IndexPath.h"

#include <optional>
#include <vector>

namespace ui {

// Where a key moves a table's selection: Up and Down step across section
// ends, Home and End go to the first and last row. Empty sections are
// skipped; nullopt means the key does not move it.
class TableKeyboard {
public:
    static std::optional<IndexPath> target(int key, std::optional<IndexPath> current,
                                           const std::vector<int>& rowsPerSection);
};

} // namespace ui
