#include "host/NotificationCenter.h"

#include <gtest/gtest.h>

TEST(NotificationCenter, ObserversHearTheirNameInOrder)
{
    NotificationCenter center;
    std::vector<std::string> heard;
    int a = 0, b = 0;
    center.addObserver(&a, "level",
                       [&](const std::string& n, const void*) { heard.push_back("a:" + n); });
    center.addObserver(&b, "level",
                       [&](const std::string& n, const void*) { heard.push_back("b:" + n); });
    center.addObserver(&b, "state",
                       [&](const std::string& n, const void*) { heard.push_back("b:" + n); });
    center.postNotification("level");
    EXPECT_EQ(heard, (std::vector<std::string>{"a:level", "b:level"}));
    center.removeObserver(&b, "level");
    heard.clear();
    center.postNotification("level");
    center.postNotification("state");
    EXPECT_EQ(heard, (std::vector<std::string>{"a:level", "b:state"}));
    center.removeObserver(&a);
    EXPECT_EQ(center.observerCount("level"), 0);
}

TEST(NotificationCenter, AnObserverMayRemoveItselfAndOthersWhileBeingCalled)
{
    NotificationCenter center;
    int first = 0, second = 0, calls = 0;
    center.addObserver(&first, "n", [&](const std::string&, const void*) {
        ++calls;
        center.removeObserver(&first);
        center.removeObserver(&second);
    });
    center.addObserver(&second, "n", [&](const std::string&, const void*) { ++calls; });
    center.postNotification("n");
    EXPECT_EQ(calls, 1); // the second was removed before its turn
    center.postNotification("n");
    EXPECT_EQ(calls, 1);
}

TEST(NotificationCenter, ThePostedObjectReachesTheObserver)
{
    NotificationCenter center;
    int owner = 0, payload = 7;
    const void* got = nullptr;
    center.addObserver(&owner, "x", [&](const std::string&, const void* object) { got = object; });
    center.postNotification("x", &payload);
    EXPECT_EQ(got, &payload);
}
