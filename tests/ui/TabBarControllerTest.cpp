#include "ui/TabBarController.h"
#include "ui/TabBarControllerDelegate.h"

#include <gtest/gtest.h>
#include <QToolButton>

using namespace ui;

namespace {
class RecordingDelegate : public TabBarControllerDelegate {
public:
    std::vector<ViewController*> picked;
    void tabBarControllerDidSelectViewController(TabBarController*, ViewController* vc) override
    {
        picked.push_back(vc);
    }
};

class CountingPage : public ViewController {
public:
    explicit CountingPage(const QString& title) { setTitle(title); }
    int appeared = 0;
    int disappeared = 0;
    void viewWillAppear(bool) override { ++appeared; }
    void viewWillDisappear(bool) override { ++disappeared; }
};
} // namespace

TEST(TabBarController, TabsFollowTheControllersInOrder)
{
    CountingPage a(QStringLiteral("One")), b(QStringLiteral("Two"));
    b.setTabBarItem(QStringLiteral("Second"), QIcon());
    TabBarController tabs;
    tabs.setViewControllers({&a, &b});
    tabs.view();
    ASSERT_NE(tabs.tabButton(1), nullptr);
    EXPECT_EQ(tabs.tabButton(0)->text(), QStringLiteral("One"));
    EXPECT_EQ(tabs.tabButton(1)->text(), QStringLiteral("Second"));
    EXPECT_EQ(tabs.tabButton(2), nullptr);
}

TEST(TabBarController, OnlyAUserTapTellsTheDelegate)
{
    CountingPage a(QStringLiteral("A")), b(QStringLiteral("B"));
    TabBarController tabs;
    RecordingDelegate delegate;
    tabs.setDelegate(&delegate);
    tabs.setViewControllers({&a, &b});
    tabs.view();
    tabs.beginAppearance(false);
    tabs.endAppearance(false);
    EXPECT_EQ(a.appeared, 1);

    tabs.setSelectedIndex(1);
    EXPECT_TRUE(delegate.picked.empty());
    EXPECT_EQ(a.disappeared, 1);
    EXPECT_EQ(b.appeared, 1);

    tabs.tabButton(0)->click();
    EXPECT_EQ(tabs.selectedIndex(), 0);
    ASSERT_EQ(delegate.picked.size(), 1u);
    EXPECT_EQ(delegate.picked[0], &a);

    tabs.setSelectedIndex(7); // out of range: nothing changes
    EXPECT_EQ(tabs.selectedIndex(), 0);
}
