#include "ui/TableLayout.h"
#include "ui/TableView.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

#include <gtest/gtest.h>

using namespace ui;

namespace ui {
// Readable failures: "(section, row)".
void PrintTo(const IndexPath& ip, std::ostream* os)
{
    *os << '(' << ip.section << ", " << ip.row << ')';
}
} // namespace ui

namespace {
// Sections of three rows, titled as given; row 1 of section 0 is 100 points tall.
struct Source : TableViewDataSource, TableViewDelegate {
    QStringList titles{QStringLiteral("First"), QString()};
    int numberOfSectionsInTableView(TableView*) override { return int(titles.size()); }
    int numberOfRowsInSection(TableView*, int) override { return 3; }
    TableViewCell* cellForRowAtIndexPath(TableView*, IndexPath) override { return nullptr; }
    QString titleForHeaderInSection(TableView*, int s) override { return titles[s]; }
    double heightForRowAtIndexPath(TableView*, IndexPath ip) override
    {
        return ip == IndexPath{0, 1} ? 100.0 : -1.0;
    }
};

TableLayout built(Source& src, TableViewStyle style, double width)
{
    TableLayout layout;
    layout.rebuild(nullptr, &src, &src, style, 44, width);
    return layout;
}
} // namespace

TEST(TableLayout, PlainRowsFollowHeadersAndOwnHeights)
{
    Source src;
    const TableLayout layout = built(src, TableViewStyle::Plain, 320);
    // Header 23, rows 44 + 100 + 44, then section 1 without header.
    EXPECT_EQ(layout.rowRect({0, 0}), QRectF(0, 23, 320, 44));
    EXPECT_EQ(layout.rowRect({0, 1}), QRectF(0, 67, 320, 100));
    EXPECT_EQ(layout.rowRect({1, 0}), QRectF(0, 211, 320, 44));
    EXPECT_DOUBLE_EQ(layout.contentHeight(), 211 + 3 * 44);
    EXPECT_TRUE(layout.rowRect({1, 3}).isNull());
    EXPECT_TRUE(layout.rowRect({-1, 0}).isNull());
}

TEST(TableLayout, BandsAreHalfOpenAtBothEdges)
{
    Source src;
    const TableLayout layout = built(src, TableViewStyle::Plain, 320);
    // Row (0,0) spans [23, 67), row (0,1) [67, 167). A band ending on a row's
    // top leaves it out; a band starting on a row's bottom edge starts in the
    // next row.
    EXPECT_EQ(layout.rowsBetween(0, 67), (std::vector<IndexPath>{{0, 0}}));
    EXPECT_EQ(layout.rowsBetween(67, 68), (std::vector<IndexPath>{{0, 1}}));
    EXPECT_EQ(layout.rowsBetween(66, 68), (std::vector<IndexPath>{{0, 0}, {0, 1}}));
    EXPECT_EQ(layout.rowsBetween(167, 211), (std::vector<IndexPath>{{0, 2}}));
    // The last row of a section ends where the next section begins.
    EXPECT_EQ(layout.rowsBetween(211, 212), (std::vector<IndexPath>{{1, 0}}));
    EXPECT_EQ(layout.rowsBetween(150, 260),
              (std::vector<IndexPath>{{0, 1}, {0, 2}, {1, 0}, {1, 1}}));
    EXPECT_TRUE(layout.rowsBetween(1000, 2000).empty());
}

TEST(TableLayout, GroupedInsetChangesAbove400Points)
{
    Source src;
    for (auto [width, inset] : {std::pair{320.0, 10.0}, {400.0, 10.0}, {401.0, 45.0}}) {
        const TableLayout layout = built(src, TableViewStyle::Grouped, width);
        EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).x(), inset) << width;
        EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).width(), width - 2 * inset) << width;
    }
    EXPECT_DOUBLE_EQ(built(src, TableViewStyle::Plain, 768).rowRect({0, 0}).x(), 0);
}

TEST(TableLayout, GroupedHeadersAndFootersByPlaceAndTitle)
{
    Source src;
    src.titles = {QStringLiteral("First"), QString(), QStringLiteral("Third")};
    TableLayout layout = built(src, TableViewStyle::Grouped, 320);
    // A titled first header is 36 plus 10 of top margin; an untitled later one
    // is 0, a titled later one 36; every untitled footer is 10.
    EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).y(), 46);
    EXPECT_DOUBLE_EQ(layout.rowRect({1, 0}).y(), 46 + 188 + 10);
    EXPECT_DOUBLE_EQ(layout.rowRect({2, 0}).y(), 244 + 132 + 10 + 36);
    EXPECT_DOUBLE_EQ(layout.contentHeight(), 422 + 132 + 10);
    // An untitled first header still keeps the top margin.
    src.titles = {QString(), QStringLiteral("Second")};
    layout = built(src, TableViewStyle::Grouped, 320);
    EXPECT_DOUBLE_EQ(layout.rowRect({0, 0}).y(), 10);
    EXPECT_DOUBLE_EQ(layout.rowRect({1, 0}).y(), 10 + 188 + 10 + 36);
}
