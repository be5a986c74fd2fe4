#include "drawing/ValueLabel.h"

#include "drawing/CopyableLabel.h"
#include "drawing/Palette.h"
#include "ui/Device.h"
#include "ui/TableViewCell.h"

void ValueLabel::configure(CopyableLabel* label, ui::TableViewCell* cell, int tag)
{
    label->setParent(cell->contentView());
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette colors = label->palette();
    colors.setColor(QPalette::Window, Qt::transparent);
    colors.setColor(QPalette::WindowText, palette::kValueText);
    label->setPalette(colors);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setUserInteractionEnabled(true);
    ui::TableViewCell::setTag(label, tag);
    cell->setSelectionStyle(ui::SelectionStyle::None);
    label->show();
}

int ValueLabel::rowFontSize()
{
    return ui::Device::isPad() ? 17 : 14;
}

void ValueLabel::applyRowFont(CopyableLabel* label, ui::TableViewCell* cell)
{
    QFont font = cell->textLabel()->font();
    font.setPixelSize(rowFontSize());
    label->setFont(font);
    cell->textLabel()->setFont(font);
}
