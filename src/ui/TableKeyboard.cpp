#include "ui/TableKeyboard.h"

#include <Qt>

namespace ui {

namespace {
std::optional<IndexPath> first(const std::vector<int>& rows)
{
    for (int s = 0; s < static_cast<int>(rows.size()); ++s)
        if (rows[s] > 0)
            return IndexPath{s, 0};
    return std::nullopt;
}

std::optional<IndexPath> last(const std::vector<int>& rows)
{
    for (int s = static_cast<int>(rows.size()) - 1; s >= 0; --s)
        if (rows[s] > 0)
            return IndexPath{s, rows[s] - 1};
    return std::nullopt;
}
} // namespace

std::optional<IndexPath> TableKeyboard::target(int key, std::optional<IndexPath> current,
                                               const std::vector<int>& rows)
{
    const int sections = static_cast<int>(rows.size());
    const bool valid = current && current->section >= 0 && current->section < sections &&
                       current->row >= 0 && current->row < rows[current->section];
    switch (key) {
    case Qt::Key_Home:
        return first(rows);
    case Qt::Key_End:
        return last(rows);
    case Qt::Key_Down:
        if (!valid)
            return first(rows);
        if (current->row + 1 < rows[current->section])
            return IndexPath{current->section, current->row + 1};
        for (int s = current->section + 1; s < sections; ++s)
            if (rows[s] > 0)
                return IndexPath{s, 0};
        return std::nullopt;
    case Qt::Key_Up:
        if (!valid)
            return last(rows);
        if (current->row > 0)
            return IndexPath{current->section, current->row - 1};
        for (int s = current->section - 1; s >= 0; --s)
            if (rows[s] > 0)
                return IndexPath{s, rows[s] - 1};
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace ui
