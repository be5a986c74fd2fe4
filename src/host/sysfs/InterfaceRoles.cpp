#include "host/sysfs/InterfaceRoles.h"

#include "host/settings/Defaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QStringList interfaces(const std::string& root)
{
    return QDir(QString::fromStdString(root) + "/sys/class/net")
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QString classNet(const std::string& root, const QString& name)
{
    return QString::fromStdString(root) + "/sys/class/net/" + name;
}

bool isWireless(const std::string& root, const QString& name)
{
    return QFileInfo(classNet(root, name) + "/wireless").isDir() ||
           QFileInfo::exists(classNet(root, name) + "/phy80211");
}

bool isWwan(const std::string& root, const QString& name)
{
    if (name.startsWith(QLatin1String("wwan")))
        return true;
    QFile uevent(classNet(root, name) + "/uevent");
    if (!uevent.open(QIODevice::ReadOnly))
        return false;
    return uevent.readAll().split('\n').contains("DEVTYPE=wwan");
}

// The interface the setting names, else the first (by name) that fits.
std::string choose(const std::string& chosen, const std::string& root,
                   bool (*fits)(const std::string&, const QString&))
{
    if (!chosen.empty())
        return chosen;
    for (const QString& name : interfaces(root))
        if (fits(root, name))
            return name.toStdString();
    return {};
}

} // namespace

InterfaceRoles::InterfaceRoles(std::string sysRoot) : m_sysRoot(std::move(sysRoot)) {}

std::string InterfaceRoles::setting(const char* key)
{
    return Defaults::standardUserDefaults()
        .stringForKey(QLatin1String(key))
        .trimmed()
        .toStdString();
}

std::string InterfaceRoles::wifiInterface() const
{
    return choose(setting(WifiKey), m_sysRoot, isWireless);
}

std::string InterfaceRoles::cellularInterface() const
{
    return choose(setting(CellularKey), m_sysRoot, isWwan);
}

InterfaceRoles::Detected InterfaceRoles::detect() const
{
    Detected found;
    for (const QString& name : interfaces(m_sysRoot)) {
        if (found.wifi.empty() && isWireless(m_sysRoot, name))
            found.wifi = name.toStdString();
        if (found.cellular.empty() && isWwan(m_sysRoot, name))
            found.cellular = name.toStdString();
        if (!found.wifi.empty() && !found.cellular.empty())
            break;
    }
    return found;
}
