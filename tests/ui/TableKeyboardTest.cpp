#include "ui/TableKeyboard.h"

#include <gtest/gtest.h>
#include <Qt>

using ui::IndexPath;
using ui::TableKeyboard;

// Sections 0 and 2 are empty: the keys step over them, and stop at the ends.
TEST(TableKeyboard, StepsAcrossSectionsSkippingEmptyOnes)
{
    const std::vector<int> rows{0, 2, 0, 1};
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Home, IndexPath{3, 0}, rows), (IndexPath{1, 0}));
    EXPECT_EQ(TableKeyboard::target(Qt::Key_End, std::nullopt, rows), (IndexPath{3, 0}));
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Down, IndexPath{1, 1}, rows), (IndexPath{3, 0}));
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Up, IndexPath{3, 0}, rows), (IndexPath{1, 1}));
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Down, IndexPath{3, 0}, rows), std::nullopt);
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Up, IndexPath{1, 0}, rows), std::nullopt);
    // No selection, or one the table no longer has: Down starts at the top,
    // Up at the bottom.
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Down, std::nullopt, rows), (IndexPath{1, 0}));
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Up, IndexPath{1, 7}, rows), (IndexPath{3, 0}));
    EXPECT_EQ(TableKeyboard::target(Qt::Key_Left, IndexPath{1, 0}, rows), std::nullopt);
    EXPECT_EQ(TableKeyboard::target(Qt::Key_End, std::nullopt, {0, 0}), std::nullopt);
}
