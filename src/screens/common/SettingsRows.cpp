#include "screens/common/SettingsRows.h"

#include "drawing/ValueLabel.h"
#include "ui/Font.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"

#include <QLabel>

void SettingsRows::applyRowFonts(ui::TableViewCell* cell)
{
    QFont title = cell->textLabel()->font();
    title.setPixelSize(ValueLabel::rowFontSize());
    cell->textLabel()->setFont(title);
    if (cell->detailTextLabel())
        cell->detailTextLabel()->setFont(ui::Font::systemFont(ValueLabel::rowFontSize()));
}

void SettingsRows::clearSelection(ui::TableView* table)
{
    if (const auto selected = table->indexPathForSelectedRow())
        table->deselectRowAtIndexPath(*selected, false);
}
