#include "screens/overview/OverviewLayout.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Row = OverviewLayout::Row;

std::vector<Row> rowsOf(const OverviewLayout& layout)
{
    std::vector<Row> rows;
    for (int s = 0; s < layout.numberOfSections(); ++s)
        for (int r = 0; r < layout.numberOfRows(s); ++r) {
            const std::optional<Row> row = layout.row({s, r});
            EXPECT_TRUE(row.has_value()) << s << "," << r;
            if (!row)
                return rows;
            EXPECT_EQ(layout.indexPath(*row), (ui::IndexPath{s, r}));
            rows.push_back(*row);
        }
    return rows;
}

// Every place holds one row and every row is found again at its place, in
// all four layouts; nothing past the ends.
TEST(OverviewLayoutTest, RowsAndPlacesAgreeInEveryLayout)
{
    for (bool large : {false, true})
        for (bool cell : {false, true}) {
            const OverviewLayout layout(large, cell);
            const std::vector<Row> rows = rowsOf(layout);
            EXPECT_EQ(std::set<Row>(rows.begin(), rows.end()).size(), rows.size());
            for (int s = 0; s < layout.numberOfSections(); ++s)
                EXPECT_FALSE(layout.row({s, layout.numberOfRows(s)}).has_value());
            EXPECT_FALSE(layout.row({layout.numberOfSections(), 0}).has_value());
            EXPECT_FALSE(layout.row({0, -1}).has_value());
            EXPECT_EQ(layout.indexPath(Row::CarrierName).has_value(), cell);
        }
}

// Large screens list the four other pages beside the table: exactly those
// rows are left out, the rest keep their order; only small screens select.
TEST(OverviewLayoutTest, LargeScreensDropOnlyThePageRows)
{
    const std::vector<Row> small = rowsOf(OverviewLayout(false, true));
    const std::vector<Row> large = rowsOf(OverviewLayout(true, true));
    std::vector<Row> kept;
    for (Row r : small) {
        const bool page = OverviewLayout::kind(r) == OverviewLayout::Kind::Details;
        if (!page)
            kept.push_back(r);
        EXPECT_EQ(OverviewLayout(false, true).isSelectable(r), page);
        EXPECT_FALSE(OverviewLayout(true, true).isSelectable(r));
    }
    EXPECT_EQ(large, kept);
    EXPECT_EQ(small.size() - large.size(), 4u);
}

} // namespace
