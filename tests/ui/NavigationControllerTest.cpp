#include "ui/NavigationController.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationItem.h"

#include <gtest/gtest.h>
#include <QPushButton>

using namespace ui;

namespace {
// A page that writes its appearance calls into a shared log.
class LoggingPage : public ViewController {
public:
    LoggingPage(const QString& name, std::vector<std::string>* log) : m_log(log) { setTitle(name); }
    void viewWillAppear(bool) override { m_log->push_back(title().toStdString() + " will appear"); }
    void viewDidAppear(bool) override { m_log->push_back(title().toStdString() + " did appear"); }
    void viewWillDisappear(bool) override
    {
        m_log->push_back(title().toStdString() + " will disappear");
    }
    void viewDidDisappear(bool) override
    {
        m_log->push_back(title().toStdString() + " did disappear");
    }

private:
    std::vector<std::string>* m_log;
};
} // namespace

TEST(NavigationController, PushAndPopDriveAppearanceInOrder)
{
    std::vector<std::string> log;
    LoggingPage root(QStringLiteral("Root"), &log), second(QStringLiteral("Second"), &log);
    NavigationController nav(&root);
    nav.view()->resize(320, 480);
    nav.beginAppearance(false);
    nav.endAppearance(false);
    log.clear();

    nav.pushViewController(&second, false);
    EXPECT_EQ(log, (std::vector<std::string>{"Root will disappear", "Second will appear",
                                             "Root did disappear", "Second did appear"}));
    EXPECT_EQ(nav.topViewController(), &second);
    EXPECT_EQ(second.navigationController(), &nav);

    log.clear();
    EXPECT_EQ(nav.popViewControllerAnimated(false), &second);
    EXPECT_EQ(log, (std::vector<std::string>{"Second will disappear", "Root will appear",
                                             "Second did disappear", "Root did appear"}));
    EXPECT_EQ(nav.popViewControllerAnimated(false), nullptr); // the root stays
}

TEST(NavigationController, PopToRootReturnsEveryPoppedPage)
{
    std::vector<std::string> log;
    LoggingPage a(QStringLiteral("A"), &log), b(QStringLiteral("B"), &log),
        c(QStringLiteral("C"), &log);
    NavigationController nav(&a);
    nav.pushViewController(&b, false);
    nav.pushViewController(&c, false);
    nav.pushViewController(&c, false); // already on the stack: ignored
    EXPECT_EQ(nav.viewControllers().size(), 3);
    const auto popped = nav.popToRootViewControllerAnimated(false);
    EXPECT_EQ(popped, (QList<ViewController*>{&b, &c}));
    EXPECT_EQ(nav.topViewController(), &a);
    EXPECT_TRUE(nav.popToRootViewControllerAnimated(false).isEmpty());
}

TEST(NavigationController, PagesOffScreenHearNothing)
{
    std::vector<std::string> log;
    LoggingPage a(QStringLiteral("A"), &log), b(QStringLiteral("B"), &log);
    NavigationController nav(&a);
    nav.pushViewController(&b, false); // the stack itself is not on screen
    EXPECT_TRUE(log.empty());
}

TEST(NavigationBar, BackButtonNamesThePageBelowAndALeftItemReplacesIt)
{
    std::vector<std::string> log;
    LoggingPage a(QStringLiteral("Overview"), &log), b(QStringLiteral("Work Time"), &log);
    NavigationController nav(&a);
    nav.view()->resize(320, 480);
    NavigationBar* bar = nav.navigationBar();
    EXPECT_EQ(bar->backButtonTitle(), QString());
    nav.pushViewController(&b, false);
    EXPECT_EQ(bar->titleText(), QStringLiteral("Work Time"));
    EXPECT_EQ(bar->backButtonTitle(), QStringLiteral("Overview"));

    int triggered = 0;
    BarButtonItem item(QStringLiteral("Page List"), [&] { ++triggered; });
    bar->topItem()->setLeftBarButtonItem(&item);
    EXPECT_EQ(bar->backButtonTitle(), QString());
    EXPECT_EQ(bar->leftButton()->text(), QStringLiteral("Page List"));
    bar->leftButton()->click();
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(nav.topViewController(), &b); // the left item did not pop

    bar->topItem()->setLeftBarButtonItem(nullptr);
    EXPECT_EQ(bar->backButtonTitle(), QStringLiteral("Overview"));
    bar->leftButton()->click();
    EXPECT_EQ(nav.topViewController(), &a);
}
