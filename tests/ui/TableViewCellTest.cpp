#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>

using namespace ui;

TEST(TableViewCell, Value1PutsTheDetailAtTheRightEdge)
{
    TableViewCell cell(CellStyle::Value1, QStringLiteral("c"));
    cell.textLabel()->setText(QStringLiteral("Label"));
    cell.detailTextLabel()->setText(QStringLiteral("42"));
    cell.resize(300, 44);
    cell.layoutSubviews();
    EXPECT_EQ(cell.textLabel()->x(), 10);
    EXPECT_EQ(cell.detailTextLabel()->geometry().right() + 1, 290);
    cell.setAccessoryType(AccessoryType::DisclosureIndicator);
    // The accessory takes room on the right; the detail moves left of it.
    EXPECT_LT(cell.detailTextLabel()->geometry().right() + 1, 270);
}

TEST(TableViewCell, IndentationMovesTheTextLabel)
{
    TableViewCell cell(CellStyle::Default, QStringLiteral("d"));
    cell.setIndentationWidth(40);
    cell.setIndentationLevel(1);
    cell.resize(250, 44);
    cell.layoutSubviews();
    EXPECT_EQ(cell.textLabel()->x(), 50);
}

TEST(TableViewCell, TagsFindSubviewsAndZeroFindsNothing)
{
    TableViewCell cell(CellStyle::Value1, QStringLiteral("e"));
    auto* label = new QLabel(cell.contentView());
    TableViewCell::setTag(label, 14);
    EXPECT_EQ(cell.viewWithTag(14), label);
    EXPECT_EQ(cell.viewWithTag(13), nullptr);
    EXPECT_EQ(cell.viewWithTag(0), nullptr);
}

TEST(TableViewCell, DumpTextListsLabelThenValuesLeftToRight)
{
    TableViewCell cell(CellStyle::Default, QStringLiteral("g"));
    cell.resize(300, 44);
    cell.textLabel()->setText(QStringLiteral("Battery"));
    auto* right = new QLabel(QStringLiteral("Charging"), cell.contentView());
    right->setGeometry(200, 5, 80, 20);
    auto* lamp = new QWidget(cell.contentView());
    lamp->setGeometry(150, 5, 12, 12);
    lamp->setProperty("dumpText", QStringLiteral("[green]"));
    new QLabel(QStringLiteral("inside the lamp"), lamp); // spoken for by the lamp
    auto* button = new QPushButton(QStringLiteral("Reload"), cell.contentView());
    button->setGeometry(250, 5, 40, 20);
    auto* hidden = new QLabel(QStringLiteral("gone"), cell.contentView());
    hidden->hide();
    EXPECT_EQ(cell.dumpText(), QStringLiteral("Battery\t[green]\tCharging\t[Reload]"));
    cell.setAccessoryType(AccessoryType::Checkmark);
    EXPECT_TRUE(cell.dumpText().endsWith(QStringLiteral("\t[check]")));
}

TEST(TableViewCell, Value1DetailIsBlueAndTurnsWhileSelectedOnly)
{
    QWidget parent;
    QPalette dark = parent.palette();
    dark.setColor(QPalette::Window, Qt::black);
    parent.setPalette(dark);
    // Inside a scroll area's viewport, whose background role is Base.
    auto* viewport = new QWidget(&parent);
    viewport->setBackgroundRole(QPalette::Base);
    auto* cell = new TableViewCell(CellStyle::Value1, QStringLiteral("h"), viewport);
    parent.show();
    const QColor blue(56, 84, 135);
    EXPECT_EQ(cell->detailTextLabel()->palette().color(QPalette::WindowText), blue);
    EXPECT_EQ(cell->detailTextLabel()->foregroundRole(), QPalette::WindowText);
    cell->setSelected(true);
    EXPECT_EQ(cell->detailTextLabel()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(cell->textLabel()->palette().color(QPalette::WindowText), QColor(Qt::white));
    cell->setSelected(false);
    EXPECT_EQ(cell->detailTextLabel()->palette().color(QPalette::WindowText), blue);
    cell->setSelectionStyle(SelectionStyle::None);
    cell->setSelected(true);
    EXPECT_EQ(cell->detailTextLabel()->palette().color(QPalette::WindowText), blue);
}
