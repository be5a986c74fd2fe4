#pragma once

#include "ui/IndexPath.h"

#include <optional>

namespace ui {

class TableView;

// Selection, row heights and drag notices a table sends to its screen.
class TableViewDelegate {
public:
    virtual ~TableViewDelegate() = default;
    // A negative answer means "the table's own row height".
    virtual double heightForRowAtIndexPath(TableView*, IndexPath) { return -1; }
    // Answer nullopt to refuse the selection, or the row to select instead.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView*, IndexPath indexPath)
    {
        return indexPath;
    }
    virtual void didSelectRowAtIndexPath(TableView*, IndexPath) {}
    virtual void scrollViewWillBeginDragging(TableView*) {}
    virtual void scrollViewDidEndDragging(TableView*, bool /*willDecelerate*/) {}
    virtual void scrollViewDidEndDecelerating(TableView*) {}
};

} // namespace ui
