#include "screens/common/ValueRowCell.h"

#include "drawing/CustomCell.h"
#include "drawing/ValueLabel.h"

#include <QFont>
#include <QLabel>

CustomCell* ValueRowCell::create(const QString& reuseIdentifier)
{
    auto* cell = new CustomCell(ui::CellStyle::Value1, reuseIdentifier);
    QFont font = cell->textLabel()->font();
    font.setPixelSize(ValueLabel::rowFontSize());
    cell->textLabel()->setFont(font);
    cell->detailTextLabel()->setFont(font);
    cell->setSelectionStyle(ui::SelectionStyle::None);
    return cell;
}
