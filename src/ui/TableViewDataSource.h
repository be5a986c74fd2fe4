#pragma once

#include "ui/IndexPath.h"

#include <QString>

namespace ui {

class TableView;
class TableViewCell;

// What a table asks of the screen that fills it.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSectionsInTableView(TableView*) { return 1; }
    virtual int numberOfRowsInSection(TableView* tableView, int section) = 0;
    // Returns a cell, dequeued from the table or new; the table takes it over.
    virtual TableViewCell* cellForRowAtIndexPath(TableView* tableView, IndexPath indexPath) = 0;
    virtual QString titleForHeaderInSection(TableView*, int) { return {}; }
    virtual QString titleForFooterInSection(TableView*, int) { return {}; }
};

} // namespace ui
