#include "stats/SemiDynamicStats.h"

#include "host/CarrierService.h"
#include "host/HostServices.h"
#include "host/netlink/NetlinkMonitor.h"
#include "host/sysfs/CachedInterfaceRoles.h"
#include "host/system/CachedInterfaceAddresses.h"
#include "host/system/LinuxInterfaceAddresses.h"
#include "host/system/StatvfsVolumeInfo.h"

#include <QStandardPaths>

#include <arpa/inet.h>
#include <net/if.h>

namespace {
const QString NotAvailable = QStringLiteral("N/A");
}

SemiDynamicStats& SemiDynamicStats::instance()
{
    static SemiDynamicStats shared(linuxSources());
    return shared;
}

SemiDynamicStats::Sources SemiDynamicStats::linuxSources()
{
    Sources s;
    // Both change only with the kernel's link and address messages.
    NetlinkMonitor* changes = &NetlinkMonitor::instance();
    s.addresses = std::make_shared<CachedInterfaceAddresses>(
        std::make_shared<LinuxInterfaceAddresses>(), changes);
    s.roles = std::make_shared<CachedInterfaceRoles>(changes);
    s.volume = std::make_shared<StatvfsVolumeInfo>();
    // The shared client, which outlives every collector: not owned here.
    s.carrier = std::shared_ptr<CarrierService>(&HostServices::carrier(), [](CarrierService*) {});
    s.documentsPath = [] {
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    };
    return s;
}

SemiDynamicStats::SemiDynamicStats(Sources sources) : m_sources(std::move(sources))
{
    clearAddresses();
}

SemiDynamicStats::~SemiDynamicStats()
{
    m_async.waitAll(); // before the fields the threads write go away
}

void SemiDynamicStats::clearAddresses()
{
    std::lock_guard lock(m_mutex);
    m_cellIp = m_wifiIp = m_cellMac = m_wifiMac = NotAvailable;
}

QString SemiDynamicStats::macText(const std::vector<std::uint8_t>& bytes)
{
    QString text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i)
            text += QLatin1Char(':');
        text += QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0'));
    }
    return text;
}

void SemiDynamicStats::refreshAddressesSync()
{
    clearAddresses();
    QString cellIp = NotAvailable, wifiIp = NotAvailable;
    QString cellMac = NotAvailable, wifiMac = NotAvailable;
    const std::string wifi = m_sources.roles->wifiInterface();
    const std::string cell = m_sources.roles->cellularInterface();
    if (const auto list = m_sources.addresses->list()) {
        for (const InterfaceAddress& a : *list) {
            // An interface without a role never matches (an empty role name
            // must not match an unnamed entry either).
            const bool isCell = !cell.empty() && a.name == cell;
            const bool isWifi = !wifi.empty() && a.name == wifi;
            if (a.kind == InterfaceAddress::Kind::Ipv4) {
                if (a.flags & IFF_LOOPBACK)
                    continue;
                in_addr addr{a.ipv4};
                const QString text = QString::fromLatin1(inet_ntoa(addr));
                if (isCell)
                    cellIp = text;
                if (isWifi)
                    wifiIp = text;
            } else if (a.kind == InterfaceAddress::Kind::Link && a.ethernet) {
                if (isCell)
                    cellMac = macText(a.address);
                if (isWifi)
                    wifiMac = macText(a.address);
            }
        }
    }
    std::lock_guard lock(m_mutex);
    m_cellIp = cellIp;
    m_wifiIp = wifiIp;
    m_cellMac = cellMac;
    m_wifiMac = wifiMac;
    m_cellConnected = m_cellIp != NotAvailable;
    m_wifiConnected = m_wifiIp != NotAvailable;
}

void SemiDynamicStats::refreshTotalDiskSpaceSync()
{
    const QString path = m_sources.documentsPath ? m_sources.documentsPath() : QString();
    const auto space = m_sources.volume->spaceFor(path.toStdString());
    if (!space)
        return; // keep the previous values
    // Read through single precision, as the platform's attribute read did:
    // sizes above 2^24 bytes lose their low bits.
    const double size = static_cast<float>(space->size);
    const double freeSize = static_cast<float>(space->freeSize);
    std::lock_guard lock(m_mutex);
    m_size = size;
    m_freeSize = freeSize;
}

void SemiDynamicStats::refreshCarrierInfoSync()
{
    const CarrierReading reading = m_sources.carrier->read();
    std::lock_guard lock(m_mutex);
    if (!reading.serviceAvailable) {
        m_providesCarrierInfo = false;
        return;
    }
    const CarrierDetails none;
    const CarrierDetails& c = reading.carrier ? *reading.carrier : none;
    m_allowsVOIP = c.allowsVOIP;
    // No carrier: null strings, as a missing carrier object gave.
    m_carrierName = reading.carrier ? c.carrierName : QString();
    m_isoCountryCode = reading.carrier ? c.isoCountryCode : QString();
    m_mobileCountryCode = reading.carrier ? c.mobileCountryCode : QString();
    m_mobileNetworkCode = reading.carrier ? c.mobileNetworkCode : QString();
    m_providesCarrierInfo = true;
}

void SemiDynamicStats::runAsync(void (SemiDynamicStats::*work)())
{
    m_async.run([this, work] { (this->*work)(); });
}

void SemiDynamicStats::refreshTotalDiskSpaceAsync()
{
    runAsync(&SemiDynamicStats::refreshTotalDiskSpaceSync);
}

void SemiDynamicStats::refreshCarrierInfoAsync()
{
    runAsync(&SemiDynamicStats::refreshCarrierInfoSync);
}

#define WELVANE_GUARDED(type, name, member)                                                        \
    type SemiDynamicStats::name() const                                                            \
    {                                                                                              \
        std::lock_guard lock(m_mutex);                                                             \
        return member;                                                                             \
    }
WELVANE_GUARDED(QString, cellIp, m_cellIp)
WELVANE_GUARDED(QString, wifiIp, m_wifiIp)
WELVANE_GUARDED(QString, cellMac, m_cellMac)
WELVANE_GUARDED(QString, wifiMac, m_wifiMac)
WELVANE_GUARDED(bool, cellConnected, m_cellConnected)
WELVANE_GUARDED(bool, wifiConnected, m_wifiConnected)
WELVANE_GUARDED(bool, providesCarrierInfo, m_providesCarrierInfo)
WELVANE_GUARDED(double, size, m_size)
WELVANE_GUARDED(double, freeSize, m_freeSize)
WELVANE_GUARDED(bool, allowsVOIP, m_allowsVOIP)
WELVANE_GUARDED(QString, carrierName, m_carrierName)
WELVANE_GUARDED(QString, isoCountryCode, m_isoCountryCode)
WELVANE_GUARDED(QString, mobileCountryCode, m_mobileCountryCode)
WELVANE_GUARDED(QString, mobileNetworkCode, m_mobileNetworkCode)
#undef WELVANE_GUARDED
