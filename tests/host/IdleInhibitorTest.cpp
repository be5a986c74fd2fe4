#include "host/dbus/DBusIdleInhibitor.h"

#include "DBusMockBus.h"
#include "support/TestSupport.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>

#include <gtest/gtest.h>

// Runs the inhibitor against python-dbusmock on private buses, so the real
// message traffic is checked without touching the user's session.
namespace {

int logindInhibitors(QDBusConnection& bus)
{
    const auto reply = bus.call(
        QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.login1.Manager", "ListInhibitors"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return -1;
    const QDBusArgument arg = reply.arguments().first().value<QDBusArgument>();
    int n = 0;
    arg.beginArray();
    for (; !arg.atEnd(); ++n)
        arg.asVariant(); // one (what, who, why, mode, uid, pid) record
    arg.endArray();
    return n;
}

} // namespace

TEST(DBusIdleInhibitorMock, FallsBackToLogindAndReleasesTheLock)
{
    if (!haveDBusMockTools())
        GTEST_SKIP() << "dbus-daemon or python3-dbusmock missing";
    PrivateBus sessionBus, systemBus;
    ASSERT_TRUE(sessionBus.start());
    ASSERT_TRUE(systemBus.start());
    MockService logind;
    logind.start(systemBus, {"--template", "logind"});

    QDBusConnection session = QDBusConnection::connectToBus(sessionBus.address, "inhibit-session");
    QDBusConnection system = QDBusConnection::connectToBus(systemBus.address, "inhibit-system");
    ASSERT_TRUE(session.isConnected() && system.isConnected());
    ASSERT_TRUE(waitForBusName(system, "org.freedesktop.login1"));
    const auto released = [&] {
        return testsupport::waitUntil([&] { return logindInhibitors(system) == 0; },
                                      std::chrono::milliseconds(1000));
    };

    {
        DBusIdleInhibitor inhibitor(session, system);
        // Nobody offers org.freedesktop.ScreenSaver on the session bus. Asking
        // twice while the first request is out takes no second lock.
        inhibitor.setIdleTimerDisabled(true);
        inhibitor.setIdleTimerDisabled(true);
        EXPECT_TRUE(inhibitor.idleTimerDisabled());
        EXPECT_EQ(inhibitor.holder(), DBusIdleInhibitor::Holder::None); // not waited for
        EXPECT_LT(spinUntil([&] { return !inhibitor.pending(); }, 5000), 50);
        EXPECT_EQ(inhibitor.holder(), DBusIdleInhibitor::Holder::Logind);
        EXPECT_EQ(logindInhibitors(system), 1);
        inhibitor.setIdleTimerDisabled(true);
        EXPECT_EQ(logindInhibitors(system), 1);
        inhibitor.setIdleTimerDisabled(false);
        EXPECT_EQ(inhibitor.holder(), DBusIdleInhibitor::Holder::None);
        EXPECT_TRUE(released());

        // Released before the reply came: the late lock is dropped.
        inhibitor.setIdleTimerDisabled(true);
        inhibitor.setIdleTimerDisabled(false);
        spinUntil([] { return false; }, 300);
        EXPECT_EQ(inhibitor.holder(), DBusIdleInhibitor::Holder::None);
        EXPECT_EQ(logindInhibitors(system), 0);

        inhibitor.setIdleTimerDisabled(true); // held again, released by the destructor
        spinUntil([&] { return !inhibitor.pending(); }, 5000);
        EXPECT_EQ(logindInhibitors(system), 1);
    }
    EXPECT_TRUE(released());
    QDBusConnection::disconnectFromBus("inhibit-session");
    QDBusConnection::disconnectFromBus("inhibit-system");
}

TEST(DBusIdleInhibitorMock, NoBusAtAllIsSilent)
{
    DBusIdleInhibitor inhibitor(QDBusConnection("none"), QDBusConnection("none"));
    inhibitor.setIdleTimerDisabled(true);
    EXPECT_TRUE(inhibitor.idleTimerDisabled());
    EXPECT_FALSE(inhibitor.pending()); // given up at once
    EXPECT_EQ(inhibitor.holder(), DBusIdleInhibitor::Holder::None);
    inhibitor.setIdleTimerDisabled(false);
    EXPECT_FALSE(inhibitor.idleTimerDisabled());
}
