#include "screens/overview/OverviewCellFactory.h"

#include "drawing/BarChartView.h"
#include "drawing/CellIdentifiers.h"
#include "drawing/CopyableLabel.h"
#include "drawing/OnOffView.h"
#include "drawing/Palette.h"
#include "drawing/ValueLabel.h"
#include "screens/overview/OverviewCell.h"
#include "screens/overview/OverviewFormat.h"
#include "ui/Device.h"
#include "ui/Font.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <tuple>

namespace {
using Kind = OverviewLayout::Kind;

QFont rowFont(const ui::TableViewCell* cell)
{
    QFont font = cell->textLabel()->font();
    font.setPixelSize(static_cast<int>(OverviewCellFactory::rowPoints()));
    return font;
}

// Right-aligned value text on a clear background, in the value colour.
QLabel* valueText(QWidget* parent, const QRect& frame, const QFont& font)
{
    auto* label = new QLabel(parent);
    label->setGeometry(frame);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette colors = label->palette();
    colors.setColor(QPalette::WindowText, palette::kValueText);
    label->setPalette(colors);
    return label;
}

BarChartView* swatch(QWidget* parent, int px, int py, const QColor& color)
{
    const int side = ui::Device::isPad() ? 12 : 10;
    auto* view = new BarChartView(QRect(px + 10, py + 10, side, side), 3.0f, parent);
    view->addItemValue(1.0f, color);
    view->drawImage();
    return view;
}

void legendText(ui::TableViewCell* cell, int px, int py, const QString& text)
{
    auto* label = new QLabel(text, cell->contentView());
    label->setGeometry(QRect(px + (ui::Device::isPad() ? 30 : 25), py, 80, 30));
    label->setFont(rowFont(cell));
    label->setAttribute(Qt::WA_TranslucentBackground);
}

// The frames were laid out for a narrow typeface; with a wider one, or a
// disk of thousands of GB, a legend value would lose its leading digits.
// Shrink the font until the text fits instead.
void setFittedText(QLabel* label, const QString& text)
{
    const QVariant base = label->property("basePixelSize");
    QFont font = label->font();
    if (!base.isValid())
        label->setProperty("basePixelSize", font.pixelSize());
    else
        font.setPixelSize(base.toInt());
    while (font.pixelSize() > 9 && QFontMetrics(font).horizontalAdvance(text) > label->width())
        font.setPixelSize(font.pixelSize() - 1);
    if (label->font() != font)
        label->setFont(font);
    label->setText(text);
}

} // namespace

void OverviewCellFactory::setChargeText(OverviewCell* cell, const QString& text)
{
    if (cell->charge)
        setFittedText(cell->charge, text);
}

void OverviewCellFactory::setPercent(QLabel* label, float value)
{
    if (label)
        setFittedText(label, OverviewFormat::percentText(value));
}

void OverviewCellFactory::setGigabytes(QLabel* label, float value)
{
    if (label)
        setFittedText(label, OverviewFormat::gigabytesText(value));
}

QRect OverviewCellFactory::frame(const QRect& large, const QRect& small)
{
    return ui::Device::isPad() ? large : small;
}

double OverviewCellFactory::rowPoints()
{
    return ui::Device::isPad() ? 17.0 : 14.0;
}

OverviewCell* OverviewCellFactory::create(Kind kind, const std::function<void()>& onReload)
{
    switch (kind) {
    case Kind::BatteryGraph:
        return batteryCell();
    case Kind::Details:
        return detailsCell();
    case Kind::DiskGraph:
        return diskCell();
    case Kind::OnOffGraph:
        return onOffCell();
    case Kind::ExternalIp:
        return externalIpCell(onReload);
    case Kind::CpuGraph:
        return cpuCell();
    case Kind::Normal:
        break;
    }
    return normalCell();
}

OverviewCell* OverviewCellFactory::batteryCell()
{
    auto* cell =
        new OverviewCell(ui::CellStyle::Default, QString::fromLatin1(cellid::kCellBatteryGraph));
    QWidget* content = cell->contentView();
    cell->charge = valueText(content, frame({530, 20, 130, 90}, {205, 10, 85, 60}),
                             ui::Font::boldSystemFont(ui::Device::isPad() ? 50.0 : 30.0));
    cell->charge->show();
    // The tip first, so the bar added next covers the tip's overlapping end.
    auto* tip = new BarChartView(frame({495, 50, 13, 30}, {190, 30, 10, 20}), 3.0f, content);
    tip->addItemValue(1.0f, palette::kMidGrey);
    tip->drawImage();
    cell->bar = new BarChartView(frame({20, 20, 480, 90}, {10, 10, 185, 60}), 5.0f, content);
    cell->setSelectionStyle(ui::SelectionStyle::None);
    return cell;
}

OverviewCell* OverviewCellFactory::diskCell()
{
    auto* cell =
        new OverviewCell(ui::CellStyle::Default, QString::fromLatin1(cellid::kCellDiskGraph));
    cell->bar =
        new BarChartView(frame({20, 20, 636, 20}, {10, 10, 280, 20}), 5.0f, cell->contentView());
    const bool pad = ui::Device::isPad();
    std::tie(cell->used, cell->usedShare) =
        legendLine(cell, pad ? 10 : 0, pad ? 50 : 35, palette::kAmber, QStringLiteral("Used"));
    std::tie(cell->free, cell->freeShare) =
        legendLine(cell, pad ? 412 : 0, pad ? 50 : 60, palette::kLightGrey, QStringLiteral("Free"));
    cell->setSelectionStyle(ui::SelectionStyle::None);
    return cell;
}

OverviewCell* OverviewCellFactory::cpuCell()
{
    auto* cell =
        new OverviewCell(ui::CellStyle::Default, QString::fromLatin1(cellid::kCellCPUGraph));
    cell->bar =
        new BarChartView(frame({20, 20, 636, 20}, {10, 10, 280, 20}), 5.0f, cell->contentView());
    const bool pad = ui::Device::isPad();
    cell->cpuSystem =
        legendLine(cell, 55, pad ? 10 : 0, pad ? 50 : 35, palette::kRed, QStringLiteral("System"));
    cell->cpuUser =
        legendLine(cell, 55, pad ? 258 : 0, pad ? 50 : 60, palette::kGreen, QStringLiteral("User"));
    cell->cpuIdle = legendLine(cell, pad ? 55 : 35, pad ? 506 : 175, pad ? 50 : 35,
                               palette::kLightGrey, QStringLiteral("Idle"));
    cell->setSelectionStyle(ui::SelectionStyle::None);
    return cell;
}

OverviewCell* OverviewCellFactory::externalIpCell(const std::function<void()>& onReload)
{
    auto* cell =
        new OverviewCell(ui::CellStyle::Value1, QString::fromLatin1(cellid::kCellExternalIp));
    auto* button = new QPushButton(QStringLiteral("Reload"), cell->contentView());
    button->setGeometry(frame({575, 9, 80, 26}, {224, 5, 65, 20}));
    button->setFont(ui::Font::boldSystemFont(rowPoints()));
    button->setAccessibleName(QStringLiteral("Reload external IP"));
    QObject::connect(button, &QPushButton::clicked, cell, [onReload] {
        if (onReload)
            onReload();
    });
    auto* value = new CopyableLabel;
    ValueLabel::configure(value, cell, ValueLabel::kTagExternalAddress);
    cell->value = value;
    value->setGeometry(frame({365, 12, 200, 20}, {100, 5, 117, 20}));
    const QFont font = rowFont(cell);
    value->setFont(font);
    cell->textLabel()->setFont(font);
    return cell;
}

OverviewCell* OverviewCellFactory::normalCell()
{
    auto* cell = new OverviewCell(ui::CellStyle::Value1, QString::fromLatin1(cellid::kCellNormal));
    auto* value = new CopyableLabel;
    ValueLabel::configure(value, cell, ValueLabel::kTagOverview);
    cell->value = value;
    value->setGeometry(frame({350, 12, 307, 20}, {105, 5, 185, 20}));
    ValueLabel::applyRowFont(value, cell);
    return cell;
}

OverviewCell* OverviewCellFactory::onOffCell()
{
    auto* cell =
        new OverviewCell(ui::CellStyle::Value1, QString::fromLatin1(cellid::kCellOnOffGraph));
    const bool pad = ui::Device::isPad();
    cell->lamp = new OnOffView(frame({641, 16, 14, 14}, {277, 9, 12, 12}), pad ? 7.0f : 6.0f,
                               cell->contentView());
    const QFont font = rowFont(cell);
    cell->value =
        valueText(cell->contentView(), frame({512, 12, 124, 20}, {150, 5, 123, 20}), font);
    cell->textLabel()->setFont(font);
    cell->setSelectionStyle(ui::SelectionStyle::None);
    return cell;
}

OverviewCell* OverviewCellFactory::detailsCell()
{
    auto* cell =
        new OverviewCell(ui::CellStyle::Default, QString::fromLatin1(cellid::kCellDetails));
    cell->setAccessoryType(ui::AccessoryType::DisclosureIndicator);
    const QFont font = rowFont(cell);
    cell->textLabel()->setFont(font);
    if (cell->detailTextLabel())
        cell->detailTextLabel()->setFont(font);
    return cell;
}

QLabel* OverviewCellFactory::legendLine(OverviewCell* cell, int offset, int px, int py,
                                        const QColor& color, const QString& text)
{
    swatch(cell->contentView(), px, py, color);
    legendText(cell, px, py, text);
    const int x = px + 25 + offset;
    return valueText(cell->contentView(), frame({x, py, 70, 30}, {x, py, 50, 30}), rowFont(cell));
}

std::pair<QLabel*, QLabel*> OverviewCellFactory::legendLine(OverviewCell* cell, int px, int py,
                                                            const QColor& color,
                                                            const QString& text)
{
    swatch(cell->contentView(), px, py, color);
    legendText(cell, px, py, text);
    const QFont font = rowFont(cell);
    QLabel* value =
        valueText(cell->contentView(), frame({px + 80, py, 80, 30}, {px + 160, py, 60, 30}), font);
    QLabel* share =
        valueText(cell->contentView(), frame({px + 165, py, 80, 30}, {px + 220, py, 70, 30}), font);
    return {value, share};
}
