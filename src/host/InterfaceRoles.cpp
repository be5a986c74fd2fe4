#include "host/InterfaceRoles.h"

#include "host/Defaults.h"

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

std::string setting(const char* key)
{
    return Defaults::standardUserDefaults().stringForKey(QLatin1String(key)).trimmed().toStdString();
}

} // namespace

InterfaceRoles::InterfaceRoles(std::string sysRoot) : m_sysRoot(std::move(sysRoot)) {}

std::string InterfaceRoles::wifiInterface() const
{
    if (auto chosen = setting(WifiKey); !chosen.empty())
        return chosen;
    for (const QString& name : interfaces(m_sysRoot))
        if (isWireless(m_sysRoot, name))
            return name.toStdString();
    return {};
}

std::string InterfaceRoles::cellularInterface() const
{
    if (auto chosen = setting(CellularKey); !chosen.empty())
        return chosen;
    for (const QString& name : interfaces(m_sysRoot))
        if (isWwan(m_sysRoot, name))
            return name.toStdString();
    return {};
}
