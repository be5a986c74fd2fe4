#include "drawing/CustomCell.h"
#include "drawing/CustomDetailCell.h"
#include "ui/Device.h"

#include <gtest/gtest.h>
#include <QLabel>

#include <memory>

#include "support/IdiomScope.h"

namespace {

using testsupport::IdiomScope;

template <typename Cell> std::unique_ptr<ui::TableViewCell> makeCell(bool withAccessory = true)
{
    auto cell = std::make_unique<Cell>(ui::CellStyle::Value1, "CellNormal");
    cell->textLabel()->setText("Battery");
    cell->detailTextLabel()->setText("87 %");
    if (withAccessory) {
        auto* accessory = new QWidget;
        accessory->resize(20, 20);
        cell->setAccessoryView(accessory);
    }
    cell->resize(400, 44);
    cell->layoutSubviews();
    return cell;
}

struct Positions {
    int text, detail, accessory;
};

Positions positionsOf(const ui::TableViewCell& cell)
{
    return {cell.textLabel()->x(), cell.detailTextLabel()->x(), cell.accessoryView()->x()};
}

} // namespace

TEST(CustomCells, SmallScreensLookLikeTheStandardCell)
{
    IdiomScope guard(ui::UserInterfaceIdiom::Phone);
    const Positions plain = positionsOf(*makeCell<ui::TableViewCell>());
    for (const Positions p :
         {positionsOf(*makeCell<CustomCell>()), positionsOf(*makeCell<CustomDetailCell>())}) {
        EXPECT_EQ(p.text, plain.text);
        EXPECT_EQ(p.detail, plain.detail);
        EXPECT_EQ(p.accessory, plain.accessory);
    }
}

TEST(CustomCells, LargeScreensShiftLabelsAndAccessory)
{
    IdiomScope guard(ui::UserInterfaceIdiom::Pad);
    const Positions plain = positionsOf(*makeCell<ui::TableViewCell>());
    const Positions custom = positionsOf(*makeCell<CustomCell>());
    const Positions detail = positionsOf(*makeCell<CustomDetailCell>());
    EXPECT_EQ(custom.text, plain.text + 10);
    EXPECT_EQ(custom.detail, plain.detail - 10);
    EXPECT_EQ(custom.accessory, plain.accessory - 10);
    EXPECT_EQ(detail.text, plain.text + 10);
    EXPECT_EQ(detail.detail, plain.detail - 30);
    EXPECT_EQ(detail.accessory, plain.accessory - 10);
    // The detail text of a detail cell sits 20 points further left.
    EXPECT_EQ(custom.detail - detail.detail, 20);
}

TEST(CustomCells, DefaultStyleAndNoAccessoryAreLeftAlone)
{
    IdiomScope guard(ui::UserInterfaceIdiom::Pad);
    CustomCell cell(ui::CellStyle::Default, "CellDetails");
    ui::TableViewCell plain(ui::CellStyle::Default, "CellDetails");
    for (ui::TableViewCell* c : {static_cast<ui::TableViewCell*>(&cell), &plain}) {
        c->textLabel()->setText("Model");
        c->resize(300, 44);
        c->layoutSubviews();
    }
    EXPECT_EQ(cell.detailTextLabel(), nullptr);
    EXPECT_EQ(cell.textLabel()->x(), plain.textLabel()->x() + 10);
    // Laying out twice does not move things twice.
    cell.layoutSubviews();
    EXPECT_EQ(cell.textLabel()->x(), plain.textLabel()->x() + 10);
}
