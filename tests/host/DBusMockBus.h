#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// A private dbus-daemon and python-dbusmock services on it, so D-Bus readers
// see real message traffic without touching the user's buses.

struct PrivateBus {
    QProcess daemon;
    QString address;

    bool start()
    {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon.waitForReadyRead(5000))
            return false;
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        return !address.isEmpty();
    }
    ~PrivateBus()
    {
        daemon.kill();
        daemon.waitForFinished();
    }
};

// A dbusmock process, told to use `bus` as its system bus.
struct MockService {
    QProcess process;

    void start(const PrivateBus& bus, const QStringList& dbusmockArgs)
    {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", bus.address);
        process.setProcessEnvironment(env);
        // The distribution's python: a pyenv python on PATH lacks dbusmock.
        process.start("/usr/bin/python3", QStringList{"-m", "dbusmock", "--system"} + dbusmockArgs);
    }
    ~MockService()
    {
        process.kill();
        process.waitForFinished();
    }
};

inline bool haveDBusMockTools()
{
    return !QStandardPaths::findExecutable("dbus-daemon").isEmpty() &&
           QProcess::execute("/usr/bin/python3", {"-c", "import dbusmock"}) == 0;
}

// Waits up to five seconds for `name` to be owned on `bus`.
inline bool waitForBusName(QDBusConnection& bus, const QString& name)
{
    for (int i = 0; i < 100; ++i) {
        auto msg = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner");
        msg << name;
        const auto reply = bus.call(msg, QDBus::Block, 1000);
        if (!reply.arguments().isEmpty() && reply.arguments().first().toBool())
            return true;
        QThread::msleep(50);
    }
    return false;
}

// A unix socket that accepts connections (the kernel's backlog does) and never
// says a word: a hung bus daemon.
struct SilentSocket {
    QTemporaryDir dir;
    int fd = -1;

    bool listen()
    {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un sa{};
        sa.sun_family = AF_UNIX;
        const QByteArray path = dir.filePath("bus").toLocal8Bit();
        qstrncpy(sa.sun_path, path.constData(), sizeof sa.sun_path);
        return fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0 &&
               ::listen(fd, 16) == 0;
    }
    QString address() const { return "unix:path=" + dir.filePath("bus"); }
    ~SilentSocket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// A process that owns `name` on `bus` and never answers a call to it.
struct SilentService {
    QProcess process;

    bool start(const PrivateBus& bus, const QString& name)
    {
        process.start("/usr/bin/python3", {"-c",
                                           "import dbus, sys, time\n"
                                           "b = dbus.bus.BusConnection(sys.argv[1])\n"
                                           "b.request_name(sys.argv[2])\n"
                                           "print('owned', flush=True)\n"
                                           "time.sleep(3600)\n",
                                           bus.address, name});
        return process.waitForReadyRead(5000) && process.readLine().startsWith("owned");
    }
    ~SilentService()
    {
        process.kill();
        process.waitForFinished();
    }
};

// Runs the event loop until `done` holds or `timeoutMs` pass, meanwhile
// timing a 5 ms timer: returns the longest gap between its ticks, that is
// how long the thread was kept from its events.
inline qint64 spinUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer total, sinceTick;
    total.start();
    sinceTick.start();
    qint64 longest = 0;
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.restart());
        if (done() || total.elapsed() >= timeoutMs)
            loop.quit();
    });
    tick.start();
    if (!done())
        loop.exec();
    return std::max(longest, sinceTick.elapsed());
}

// A private bus with one dbusmock service, for the tests of one D-Bus client.
class MockBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveDBusMockTools())
            GTEST_SKIP() << "dbus-daemon or python3-dbusmock (for /usr/bin/python3) missing";
        ASSERT_TRUE(bus.start());
        connection = QDBusConnection::connectToBus(bus.address, "mock-bus-test");
        ASSERT_TRUE(connection.isConnected());
    }
    void TearDown() override { QDBusConnection::disconnectFromBus("mock-bus-test"); }

    void startService(const QString& name, const QStringList& dbusmockArgs)
    {
        service.start(bus, dbusmockArgs);
        ASSERT_TRUE(waitForBusName(connection, name));
    }
    void stopService()
    {
        service.process.kill();
        service.process.waitForFinished();
    }
    // Calls one of dbusmock's own control methods on the service.
    void mockCall(const QString& name, const QString& path, const QString& method,
                  const QVariantList& args)
    {
        auto msg = QDBusMessage::createMethodCall(name, path, "org.freedesktop.DBus.Mock", method);
        msg.setArguments(args);
        const auto reply = connection.call(msg, QDBus::Block, 3000);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    PrivateBus bus;
    MockService service;
    QDBusConnection connection{QString()};
};
