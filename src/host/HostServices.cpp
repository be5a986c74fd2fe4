#include "host/HostServices.h"

#include "host/dbus/DBusIdleInhibitor.h"
#include "host/dbus/ModemManagerClient.h"
#include "host/dbus/NetworkManagerReachability.h"
#include "host/media/TagLibMediaLibrary.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/sysfs/LinuxBattery.h"
#include "host/sysfs/LinuxHardwareProbe.h"
#include "host/system/LinuxDeviceIdentity.h"
#include "host/system/XdgMailer.h"

#include <QCoreApplication>

KernelFacts& HostServices::kernel()
{
    static LinuxKernelFacts facts;
    return facts;
}

DeviceIdentity& HostServices::identity()
{
    static LinuxDeviceIdentity identity(kernel());
    return identity;
}

HardwareProbe& HostServices::hardware()
{
    static LinuxHardwareProbe probe(kernel());
    return probe;
}

ModemManagerClient& HostServices::modemManager()
{
    // Never destroyed: its bus connection and signal hooks must not be torn
    // down after Qt's D-Bus has gone at exit.
    static auto* client = new ModemManagerClient;
    return *client;
}

Modem& HostServices::modem()
{
    return modemManager();
}

CarrierService& HostServices::carrier()
{
    return modemManager();
}

Battery& HostServices::battery()
{
    static LinuxBattery battery;
    return battery;
}

IdleInhibitor& HostServices::idleInhibitor()
{
    static DBusIdleInhibitor* inhibitor = [] {
        auto* made = new DBusIdleInhibitor;
        // Release while the bus connections still work; static destruction
        // comes after Qt has torn them down.
        if (auto* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit,
                             [made] { made->setIdleTimerDisabled(false); });
        return made;
    }();
    return *inhibitor;
}

Reachability& HostServices::reachability()
{
    // Never destroyed, like the ModemManager client: its bus hooks must not
    // outlive Qt's D-Bus at exit.
    static auto* reachability = new NetworkManagerReachability;
    return *reachability;
}

Mailer& HostServices::mailer()
{
    // Never destroyed: a mail program still starting must not be killed by
    // the static destructors after Qt has gone.
    static auto* mailer = new XdgMailer;
    return *mailer;
}

MediaLibrary& HostServices::mediaLibrary()
{
    static TagLibMediaLibrary library(TagLibMediaLibrary::standardCachePath());
    return library;
}
