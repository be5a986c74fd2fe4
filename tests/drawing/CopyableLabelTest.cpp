#include "drawing/CopyableLabel.h"
#include "drawing/CustomCell.h"
#include "drawing/ListCopyableLabel.h"
#include "drawing/ValueLabel.h"
#include "ui/Device.h"
#include "ui/MenuController.h"
#include "ui/Pasteboard.h"

#include <gtest/gtest.h>
#include <QMenu>
#include <QTest>

namespace {

using ui::MenuController;

// Counts the edit menu's show and hide signals and restores the screen class.
class CopyMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_idiom = ui::Device::userInterfaceIdiom();
        auto& menu = MenuController::sharedMenuController();
        QObject::connect(&menu, &MenuController::menuWillShow, &window, [this] { ++shows; });
        QObject::connect(&menu, &MenuController::menuWillHide, &window, [this] { ++hides; });
        window.resize(320, 44);
        window.show();
    }
    void TearDown() override
    {
        MenuController::sharedMenuController().setMenuVisible(false, false);
        ui::Device::setUserInterfaceIdiom(m_idiom);
    }
    template <typename Label> Label* makeLabel(const QString& text)
    {
        auto* label = new Label(&window);
        label->setText(text);
        label->setGeometry(100, 10, 200, 21);
        label->setUserInteractionEnabled(true);
        label->show();
        return label;
    }
    static bool idle(const CopyableLabel& label)
    {
        return !label.isFirstResponder() && !label.isHighlighted();
    }

    QWidget window;
    int shows = 0;
    int hides = 0;

private:
    ui::UserInterfaceIdiom m_idiom{};
};

} // namespace

// A tap shows the menu at a label, a tap on another label moves it there, a
// second tap on that one hides it; each show is matched by one hide.
TEST_F(CopyMenuTest, TapsShowMoveAndHideTheMenu)
{
    auto* first = makeLabel<CopyableLabel>("192.168.1.20");
    auto* second = makeLabel<CopyableLabel>("b");
    MenuController& menu = MenuController::sharedMenuController();

    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_TRUE(first->isFirstResponder());
    EXPECT_TRUE(first->isHighlighted());
    EXPECT_TRUE(menu.isMenuVisible());
    EXPECT_EQ(menu.targetView(), first);
    EXPECT_GT(menu.targetRect().left(), first->width() / 2); // values are right-aligned
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(hides, 0);

    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_TRUE(idle(*first));
    EXPECT_TRUE(second->isHighlighted());
    EXPECT_EQ(menu.targetView(), second);

    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_TRUE(idle(*second));
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_EQ(shows, hides);
}

TEST_F(CopyMenuTest, ListLabelsPointNearTheirLeftEnd)
{
    auto* list = makeLabel<ListCopyableLabel>("kernel: eth0 up");
    list->toggleMenu();
    EXPECT_LT(MenuController::sharedMenuController().targetRect().right(), list->width() / 2);
    list->toggleMenu();
    EXPECT_TRUE(idle(*list));
}

TEST_F(CopyMenuTest, OnlyCopyIsOfferedAndChoosingItCopiesEvenNothing)
{
    auto* label = makeLabel<CopyableLabel>("2.4 GHz");
    EXPECT_TRUE(label->canPerformAction(ui::EditAction::Copy));
    for (auto other : {ui::EditAction::Cut, ui::EditAction::Paste, ui::EditAction::SelectAll})
        EXPECT_FALSE(label->canPerformAction(other));

    label->toggleMenu();
    QMenu* menu = MenuController::sharedMenuController().menu();
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().first()->text(), "Copy");
    ui::Pasteboard::generalPasteboard().setString("stale");
    menu->actions().first()->trigger();
    EXPECT_EQ(ui::Pasteboard::generalPasteboard().string(), "2.4 GHz");
    EXPECT_TRUE(idle(*label));
    EXPECT_FALSE(MenuController::sharedMenuController().isMenuVisible());
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(hides, 1);

    label->setText("");
    label->becomeFirstResponder();
    label->copy();
    EXPECT_EQ(ui::Pasteboard::generalPasteboard().string(), "");
    EXPECT_TRUE(idle(*label));
}

TEST_F(CopyMenuTest, DismissingTheMenuElsewhereHidesItButKeepsTheHighlight)
{
    auto* label = makeLabel<CopyableLabel>("a");
    label->toggleMenu();
    MenuController::sharedMenuController().menu()->hide(); // the user tapped elsewhere
    EXPECT_FALSE(MenuController::sharedMenuController().isMenuVisible());
    EXPECT_EQ(hides, 1);
    EXPECT_TRUE(label->isHighlighted());
    label->toggleMenu(); // the next tap returns it to idle
    EXPECT_TRUE(idle(*label));
    EXPECT_EQ(hides, 1);
}

TEST(ValueLabelTest, AConfiguredLabelTakesTapsAndIsFoundByItsTag)
{
    CustomCell cell(ui::CellStyle::Value1, "CellNormal");
    auto* label = new CopyableLabel;
    EXPECT_FALSE(label->isUserInteractionEnabled()); // a plain label lets taps through
    ValueLabel::configure(label, &cell, ValueLabel::kTagOverview);
    EXPECT_EQ(cell.viewWithTag(ValueLabel::kTagOverview), label);
    EXPECT_EQ(label->parentWidget(), cell.contentView());
    EXPECT_TRUE(label->isUserInteractionEnabled());
}
