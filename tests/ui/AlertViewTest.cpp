#include "ui/AlertView.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {
class Recorder : public AlertViewDelegate {
public:
    std::vector<int> clicked;
    void alertViewClickedButtonAtIndex(AlertView*, int index) override { clicked.push_back(index); }
};
} // namespace

TEST(AlertView, CancelIsIndexZeroAndOthersFollow)
{
    Recorder r;
    AlertView alert(QStringLiteral("Read the FAQ first!"), QStringLiteral("msg"), &r,
                    QStringLiteral("Cancel"),
                    {QStringLiteral("Provide Feedback"), QStringLiteral("Read the FAQ")});
    EXPECT_EQ(alert.buttonTitles(),
              (QStringList{QStringLiteral("Cancel"), QStringLiteral("Provide Feedback"),
                           QStringLiteral("Read the FAQ")}));
    EXPECT_EQ(alert.cancelButtonIndex(), 0);
    alert.show();
    EXPECT_TRUE(alert.isVisible());
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
    alert.dismissWithClickedButtonIndex(2);
    EXPECT_FALSE(alert.isVisible());
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(r.clicked, std::vector<int>{2});
    alert.dismissWithClickedButtonIndex(1); // already gone: no second answer
    EXPECT_EQ(r.clicked.size(), 1u);
}

TEST(AlertView, WithoutCancelTheFirstButtonIsIndexZero)
{
    AlertView alert(QStringLiteral("No Email Account Found"), QStringLiteral("m"), nullptr,
                    QString(), {QStringLiteral("OK")});
    EXPECT_EQ(alert.cancelButtonIndex(), -1);
    EXPECT_EQ(alert.buttonTitles(), QStringList{QStringLiteral("OK")});
    alert.show();
    alert.dismissWithClickedButtonIndex(0); // no delegate: must not crash
    EXPECT_FALSE(alert.isVisible());
}
