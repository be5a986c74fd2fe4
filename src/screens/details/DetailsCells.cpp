#include "screens/details/DetailsCells.h"

#include "drawing/CellIdentifiers.h"
#include "drawing/CopyableLabel.h"
#include "drawing/CustomCell.h"
#include "drawing/OnOffView.h"
#include "drawing/Palette.h"
#include "drawing/ValueLabel.h"
#include "ui/Device.h"
#include "ui/Font.h"
#include "ui/TableView.h"

#include <QLabel>

namespace {

using Kind = DetailsRows::Kind;

const char* identifier(Kind kind)
{
    switch (kind) {
    case Kind::OnOffGraph:
        return cellid::kCellOnOffGraph;
    case Kind::Details:
        return cellid::kCellDetails;
    case Kind::Twoline:
        return cellid::kCellTwoline;
    case Kind::Normal:
        break;
    }
    return cellid::kCellNormal;
}

QRect frame(const QRect& large, const QRect& small)
{
    return ui::Device::isPad() ? large : small;
}

QFont rowFont(const ui::TableViewCell* cell)
{
    QFont font = cell->textLabel()->font();
    font.setPixelSize(ValueLabel::rowFontSize());
    return font;
}

} // namespace

ui::TableViewCell* DetailsCells::cell(ui::TableView* table, const DetailsRows::Row& row)
{
    ui::TableViewCell* cell = table->dequeueReusableCell(QString::fromLatin1(identifier(row.kind)));
    if (!cell)
        cell = make(row.kind);
    if (row.kind == Kind::Twoline) {
        if (auto* title = qobject_cast<QLabel*>(cell->viewWithTag(kTagTitle)))
            title->setText(row.title);
    } else {
        cell->textLabel()->setText(row.title);
    }
    if (auto* value = qobject_cast<QLabel*>(cell->viewWithTag(kTagValue)))
        value->setText(row.value);
    if (auto* text = qobject_cast<QLabel*>(cell->viewWithTag(kTagText)))
        text->setText(row.value);
    if (auto* lamp = qobject_cast<OnOffView*>(cell->viewWithTag(kTagLamp)))
        lamp->setColor(row.lamp.value_or(false) ? 1 : 0);
    return cell;
}

ui::TableViewCell* DetailsCells::make(Kind kind)
{
    switch (kind) {
    case Kind::OnOffGraph:
        return onOffCell();
    case Kind::Details:
        return detailsCell();
    case Kind::Twoline:
        return twolineCell();
    case Kind::Normal:
        break;
    }
    return normalCell();
}

ui::TableViewCell* DetailsCells::normalCell()
{
    auto* cell = new CustomCell(ui::CellStyle::Value1, QString::fromLatin1(cellid::kCellNormal));
    auto* value = new CopyableLabel;
    ValueLabel::configure(value, cell, kTagValue);
    value->setGeometry(frame({250, 12, 407, 20}, {105, 5, 185, 20}));
    ValueLabel::applyRowFont(value, cell);
    return cell;
}

ui::TableViewCell* DetailsCells::onOffCell()
{
    auto* cell =
        new CustomCell(ui::CellStyle::Value1, QString::fromLatin1(cellid::kCellOnOffGraph));
    const bool pad = ui::Device::isPad();
    auto* lamp = new OnOffView(frame({641, 16, 14, 14}, {277, 9, 12, 12}), pad ? 7.0f : 6.0f,
                               cell->contentView());
    ui::TableViewCell::setTag(lamp, kTagLamp);
    const QFont font = rowFont(cell);
    auto* text = new QLabel(cell->contentView());
    text->setGeometry(frame({552, 12, 84, 20}, {150, 5, 123, 20}));
    text->setFont(font);
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text->setAttribute(Qt::WA_TranslucentBackground);
    QPalette colors = text->palette();
    colors.setColor(QPalette::WindowText, palette::kValueText);
    text->setPalette(colors);
    ui::TableViewCell::setTag(text, kTagText);
    cell->textLabel()->setFont(font);
    cell->setSelectionStyle(ui::SelectionStyle::None);
    return cell;
}

ui::TableViewCell* DetailsCells::detailsCell()
{
    auto* cell = new CustomCell(ui::CellStyle::Default, QString::fromLatin1(cellid::kCellDetails));
    cell->setAccessoryType(ui::AccessoryType::DisclosureIndicator);
    const QFont font = rowFont(cell);
    cell->textLabel()->setFont(font);
    if (cell->detailTextLabel())
        cell->detailTextLabel()->setFont(font);
    return cell;
}

ui::TableViewCell* DetailsCells::twolineCell()
{
    auto* cell = new CustomCell(ui::CellStyle::Value1, QString::fromLatin1(cellid::kCellTwoline));
    auto* title = new QLabel(cell->contentView());
    title->setGeometry(10, 5, 50, 20);
    title->setFont(ui::Font::systemFont(14));
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    title->setAttribute(Qt::WA_TranslucentBackground);
    ui::TableViewCell::setTag(title, kTagTitle);
    auto* value = new CopyableLabel;
    ValueLabel::configure(value, cell, kTagValue);
    value->setGeometry(10, 24, 280, 20);
    value->setFont(ui::Font::systemFont(12));
    return cell;
}
