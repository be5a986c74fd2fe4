#include "drawing/CustomCell.h"
#include "drawing/CustomDetailCell.h"
#include "ui/Device.h"

#include <gtest/gtest.h>
#include <QLabel>

#include <memory>

#include "support/IdiomScope.h"

namespace {

using testsupport::IdiomScope;

struct Positions {
    int text, detail, accessory;
};

// Where a value-1 cell with an accessory puts things, after laying out twice
// (a second pass must not shift again).
template <typename Cell> Positions laidOut()
{
    Cell cell(ui::CellStyle::Value1, "CellNormal");
    cell.textLabel()->setText("Battery");
    cell.detailTextLabel()->setText("87 %");
    auto* accessory = new QWidget;
    accessory->resize(20, 20);
    cell.setAccessoryView(accessory);
    cell.resize(400, 44);
    cell.layoutSubviews();
    cell.layoutSubviews();
    return {cell.textLabel()->x(), cell.detailTextLabel()->x(), cell.accessoryView()->x()};
}

} // namespace

TEST(CustomCells, ShiftOnlyOnLargeScreens)
{
    for (auto idiom : {ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad}) {
        IdiomScope guard(idiom);
        const bool pad = idiom == ui::UserInterfaceIdiom::Pad;
        const Positions plain = laidOut<ui::TableViewCell>();
        const Positions custom = laidOut<CustomCell>();
        const Positions detail = laidOut<CustomDetailCell>();
        EXPECT_EQ(custom.text, plain.text + (pad ? 10 : 0));
        EXPECT_EQ(custom.detail, plain.detail - (pad ? 10 : 0));
        EXPECT_EQ(custom.accessory, plain.accessory - (pad ? 10 : 0));
        // A detail cell keeps its detail text clear of the row's switch.
        EXPECT_EQ(detail.text, custom.text);
        EXPECT_EQ(detail.detail, plain.detail - (pad ? 30 : 0));
        EXPECT_EQ(detail.accessory, custom.accessory);
    }
}
