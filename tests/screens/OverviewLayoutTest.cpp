#include "screens/overview/OverviewLayout.h"
#include "drawing/CellIdentifiers.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> rows(const OverviewLayout& layout)
{
    std::vector<int> counts;
    for (int s = 0; s < layout.numberOfSections(); ++s)
        counts.push_back(layout.numberOfRows(s));
    return counts;
}

TEST(OverviewLayoutTest, SectionsAndRowsPerScreenClass)
{
    EXPECT_EQ(rows(OverviewLayout(false, true)), (std::vector<int>{3, 3, 2, 2, 4, 3, 6}));
    EXPECT_EQ(rows(OverviewLayout(false, false)), (std::vector<int>{3, 3, 2, 2, 4, 3}));
    EXPECT_EQ(rows(OverviewLayout(true, true)), (std::vector<int>{2, 2, 2, 2, 2, 3, 6}));
    EXPECT_EQ(rows(OverviewLayout(true, false)), (std::vector<int>{2, 2, 2, 2, 2, 3}));
    EXPECT_EQ(OverviewLayout(false, false).numberOfRows(6), 0);
    EXPECT_EQ(OverviewLayout(true, true).numberOfRows(-1), 0);
}

TEST(OverviewLayoutTest, TitlesLabelsAndCellKinds)
{
    const char* titles[] = {"Battery Status",  "Disk Usage",  "CPU Usage",
                            "System Uptime",   "Connections", "Wi-Fi Information",
                            "Cell Information"};
    for (int s = 0; s < 7; ++s)
        EXPECT_EQ(OverviewLayout::sectionTitle(s), QString::fromLatin1(titles[s]));

    const struct {
        int section, row;
        const char* label;
        const char* identifier;
    } cases[] = {
        {0, 0, "", cellid::kCellBatteryGraph},
        {0, 1, "Battery State", cellid::kCellOnOffGraph},
        {0, 2, "Work Time", cellid::kCellDetails},
        {1, 0, "", cellid::kCellDiskGraph},
        {1, 1, "Total Disk Space", cellid::kCellNormal},
        {1, 2, "Statistics", cellid::kCellDetails},
        {2, 0, "", cellid::kCellCPUGraph},
        {2, 1, "Avg Load (1, 5, 15 min)", cellid::kCellNormal},
        {3, 0, "Boot Time", cellid::kCellNormal},
        {3, 1, "Uptime", cellid::kCellNormal},
        {4, 0, "External IP", cellid::kCellExternalIp},
        {4, 1, "Default Gateway", cellid::kCellNormal},
        {4, 2, "Connections", cellid::kCellDetails},
        {4, 3, "Routing Table", cellid::kCellDetails},
        {5, 0, "Network Connected", cellid::kCellOnOffGraph},
        {5, 1, "Network MAC", cellid::kCellNormal},
        {5, 2, "Network IP", cellid::kCellNormal},
        {6, 0, "Network Connected", cellid::kCellOnOffGraph},
        {6, 1, "Network IP", cellid::kCellNormal},
        {6, 2, "Carrier Name", cellid::kCellNormal},
        {6, 3, "Country Code", cellid::kCellNormal},
        {6, 4, "MCC / MNC", cellid::kCellNormal},
        {6, 5, "VOIP Support", cellid::kCellOnOffGraph},
    };
    for (const auto& c : cases) {
        const ui::IndexPath p{c.section, c.row};
        EXPECT_EQ(OverviewLayout::labelText(p), QString::fromLatin1(c.label));
        EXPECT_STREQ(OverviewLayout::reuseIdentifier(OverviewLayout::kind(p)), c.identifier)
            << c.section << "," << c.row;
    }
}

TEST(OverviewLayoutTest, RowHeights)
{
    const OverviewLayout small(false, true), large(true, true);
    EXPECT_EQ(small.rowHeight({0, 0}), 80.0);
    EXPECT_EQ(large.rowHeight({0, 0}), 130.0);
    for (const auto* layout : {&small, &large}) {
        EXPECT_EQ(layout->rowHeight({1, 0}), 95.0);
        EXPECT_EQ(layout->rowHeight({2, 0}), 95.0);
    }
    EXPECT_EQ(small.rowHeight({4, 0}), 30.0);
    EXPECT_EQ(large.rowHeight({6, 5}), 44.0);
}

TEST(OverviewLayoutTest, OnlyTheFourPageRowsAreSelectableOnSmallScreens)
{
    const OverviewLayout small(false, true), large(true, true);
    int selectable = 0;
    for (int s = 0; s < small.numberOfSections(); ++s)
        for (int r = 0; r < small.numberOfRows(s); ++r) {
            const bool expected =
                (s == 0 && r == 2) || (s == 1 && r == 2) || (s == 4 && (r == 2 || r == 3));
            EXPECT_EQ(small.isSelectable({s, r}), expected) << s << "," << r;
            selectable += small.isSelectable({s, r});
            EXPECT_FALSE(large.isSelectable({s, r}));
        }
    EXPECT_EQ(selectable, 4);
}

} // namespace
