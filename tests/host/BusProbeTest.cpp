#include "host/dbus/BusProbe.h"
#include "host/dbus/DBusIdleInhibitor.h"
#include "host/dbus/ModemManagerClient.h"

#include "DBusMockBus.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>

// The raw-socket probe that decides which buses QtDBus may see.

namespace {

struct Timed {
    BusProbe::Result result;
    qint64 ms;
};

Timed probe(const QString& address)
{
    QElapsedTimer t;
    t.start();
    const BusProbe::Result r = BusProbe::probe(address.toLocal8Bit());
    return {r, t.elapsed()};
}

const qint64 kLimitMs = BusProbe::kLimit.count();

} // namespace

TEST(BusProbe, ARealDaemonAnswersAndOnlyItsAddressIsUsed)
{
    if (!haveDBusMockTools())
        GTEST_SKIP() << "dbus-daemon missing";
    PrivateBus bus;
    ASSERT_TRUE(bus.start());
    // The daemon answers Hello only to a well-formed message and auth.
    const Timed real = probe(bus.address);
    EXPECT_EQ(real.result, BusProbe::Result::Answered);
    EXPECT_LT(real.ms, kLimitMs);
    // A dead first entry falls through to the live one.
    EXPECT_EQ(probe("unix:path=/nonexistent/bus;" + bus.address).result,
              BusProbe::Result::Answered);
}

TEST(BusProbe, NothingThereIsUnreachableAtOnce)
{
    for (const QString& address :
         {QString("unix:path=/nonexistent/bus"), QString("tcp:host=localhost,port=1"),
          QString("unix:guid=0123"), QString(), QString("unix:path=") + QString(200, 'x')}) {
        const Timed t = probe(address);
        EXPECT_EQ(t.result, BusProbe::Result::Unreachable) << address.toStdString();
        EXPECT_LT(t.ms, 50) << address.toStdString();
    }
}

TEST(BusProbe, ASocketThatNeverRepliesGivesUpAtTheLimit)
{
    SilentSocket silent;
    ASSERT_TRUE(silent.listen());
    const Timed t = probe(silent.address());
    EXPECT_EQ(t.result, BusProbe::Result::Silent);
    EXPECT_GE(t.ms, kLimitMs - 10);
    EXPECT_LT(t.ms, kLimitMs + 150);

    // The same in the abstract namespace; the limit is shared by all entries.
    const QByteArray name = "welvane-probe-test-" + QByteArray::number(::getpid());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    std::memcpy(sa.sun_path + 1, name.constData(), std::size_t(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&sa),
                     socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())),
              0);
    ASSERT_EQ(::listen(fd, 4), 0);
    const Timed both = probe("unix:abstract=" + name + ";" + silent.address());
    ::close(fd);
    EXPECT_EQ(both.result, BusProbe::Result::Silent);
    EXPECT_LT(both.ms, kLimitMs + 150);
}

// The real buses of this process, both silent: nothing waits for them and the
// services they would carry report absent once the probe has given up. The
// probe's result is kept for the process, so this is the only test here that
// uses the real buses.
TEST(BusProbe, SilentBusesLeaveTheServicesAbsentWithoutBlocking)
{
    SilentSocket silent;
    ASSERT_TRUE(silent.listen());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", silent.address().toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", silent.address().toLocal8Bit());

    QElapsedTimer t;
    t.start();
    ModemManagerClient modem;
    DBusIdleInhibitor inhibitor;
    inhibitor.setIdleTimerDisabled(true);
    EXPECT_FALSE(modem.available());
    EXPECT_FALSE(modem.read().serviceAvailable);
    EXPECT_LT(t.elapsed(), 50);

    const qint64 stall = spinUntil([&] { return modem.settled() && !inhibitor.pending(); }, 3000);
    EXPECT_LT(stall, 50);
    EXPECT_TRUE(modem.settled());
    EXPECT_FALSE(inhibitor.pending());
    EXPECT_LT(t.elapsed(), kLimitMs + 300);
    EXPECT_FALSE(modem.available());
    EXPECT_FALSE(modem.carrierName());
    EXPECT_EQ(inhibitor.holder(), DBusIdleInhibitor::Holder::None);
    EXPECT_TRUE(inhibitor.idleTimerDisabled());
}
