#pragma once

#include "screens/details/DetailsRows.h"

namespace ui {
class TableView;
class TableViewCell;
} // namespace ui

// The four kinds of Details cells, with their frames, fonts and tags per
// screen class; a reused cell of the kind is refilled, a new one is built.
class DetailsCells {
public:
    static constexpr int kTagText = 2;
    static constexpr int kTagLamp = 3;
    static constexpr int kTagValue = 4;
    static constexpr int kTagTitle = 5;

    static ui::TableViewCell* cell(ui::TableView* table, const DetailsRows::Row& row);

private:
    static ui::TableViewCell* make(DetailsRows::Kind kind);
    static ui::TableViewCell* normalCell();
    static ui::TableViewCell* onOffCell();
    static ui::TableViewCell* detailsCell();
    static ui::TableViewCell* twolineCell();
};
