#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

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
