#include "metrics/MetricsHost.h"

#include "host/netlink/LinuxRouteDump.h"
#include "host/netlink/LinuxSocketDump.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/proc/LinuxProcessTable.h"
#include "host/settings/Defaults.h"
#include "host/sysfs/LinuxHardwareProbe.h"
#include "host/system/LinuxDeviceIdentity.h"
#include "host/system/LinuxInterfaceAddresses.h"
#include "host/system/PasswdUserDirectory.h"
#include "host/system/StatvfsVolumeInfo.h"

#include <QStandardPaths>

#include <unistd.h>

MetricsHost MetricsHost::linuxHost()
{
    MetricsHost h;
    auto kernel = std::make_shared<LinuxKernelFacts>();
    h.kernel = kernel;
    h.identity = std::make_shared<LinuxDeviceIdentity>(*kernel);
    h.hardware = std::make_shared<LinuxHardwareProbe>(*kernel);
    h.volume = std::make_shared<StatvfsVolumeInfo>();
    h.addresses = std::make_shared<LinuxInterfaceAddresses>();
    h.sockets = std::make_shared<LinuxSocketDump>();
    h.routes = std::make_shared<LinuxRouteDump>();
    h.processes = std::make_shared<LinuxProcessTable>();
    h.users = std::make_shared<PasswdUserDirectory>();
    h.battery = [] { return PowerSupply::read(); };
    h.healthSetting = []() -> std::optional<long long> {
        // A fresh read each time: the window program may change it meanwhile.
        const Defaults defaults(Defaults::standardPath());
        const QString key = QStringLiteral("kHealthKey");
        if (!defaults.hasKey(key))
            return std::nullopt;
        return defaults.integerForKey(key);
    };
    h.documentsPath = [] {
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    };
    const long hz = sysconf(_SC_CLK_TCK);
    if (hz > 0)
        h.ticksPerSecond = static_cast<double>(hz);
    return h;
}
