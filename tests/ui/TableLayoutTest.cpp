#include "ui/TableLayout.h"
#include "ui/TableView.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {
// Two sections of three rows; row 1 of section 0 is 100 points tall.
struct Source : TableViewDataSource, TableViewDelegate {
    int numberOfSectionsInTableView(TableView*) override { return 2; }
    int numberOfRowsInSection(TableView*, int) override { return 3; }
    TableViewCell* cellForRowAtIndexPath(TableView*, IndexPath) override { return nullptr; }
    QString titleForHeaderInSection(TableView*, int s) override
    {
        return s == 0 ? QStringLiteral("First") : QString();
    }
    double heightForRowAtIndexPath(TableView*, IndexPath ip) override
    {
        return ip == IndexPath{0, 1} ? 100.0 : -1.0;
    }
};
} // namespace

TEST(TableLayout, PlainRowsFollowHeadersAndOwnHeights)
{
    Source src;
    TableLayout layout;
    layout.rebuild(nullptr, &src, &src, TableViewStyle::Plain, 44, 320);
    // Header 23, rows 44 + 100 + 44, then section 1 without header.
    EXPECT_EQ(layout.rowRect({0, 0}), QRectF(0, 23, 320, 44));
    EXPECT_EQ(layout.rowRect({0, 1}), QRectF(0, 67, 320, 100));
    EXPECT_EQ(layout.rowRect({1, 0}), QRectF(0, 211, 320, 44));
    EXPECT_DOUBLE_EQ(layout.contentHeight(), 211 + 3 * 44);
    EXPECT_TRUE(layout.rowRect({1, 3}).isNull());
    EXPECT_TRUE(layout.rowRect({-1, 0}).isNull());
}

TEST(TableLayout, BandsFindExactlyTheRowsTheyTouch)
{
    Source src;
    TableLayout layout;
    layout.rebuild(nullptr, &src, &src, TableViewStyle::Plain, 44, 320);
    // A band ending where row (0,1) starts does not include it.
    EXPECT_EQ(layout.rowsBetween(0, 67), (std::vector<IndexPath>{{0, 0}}));
    EXPECT_EQ(layout.rowsBetween(66, 68), (std::vector<IndexPath>{{0, 0}, {0, 1}}));
    EXPECT_EQ(layout.rowsBetween(150, 260),
              (std::vector<IndexPath>{{0, 1}, {0, 2}, {1, 0}, {1, 1}}));
    EXPECT_TRUE(layout.rowsBetween(1000, 2000).empty());
}

TEST(TableLayout, GroupedRowsAreInsetByWidth)
{
    Source src;
    TableLayout layout;
    layout.rebuild(nullptr, &src, &src, TableViewStyle::Grouped, 44, 320);
    EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).x(), 10);
    EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).width(), 300);
    layout.rebuild(nullptr, &src, &src, TableViewStyle::Grouped, 44, 768);
    EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).x(), 45);
    EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).width(), 678);
}
