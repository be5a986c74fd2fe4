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

SemiDynamicStats::SemiDynamicStats(Sources sources)
    : m_sources(std::move(sources)), m_jobs(BackgroundWorker::snapshots())
{
    clearAddresses();
}

SemiDynamicStats::~SemiDynamicStats()
{
    waitForAsync();
}

void SemiDynamicStats::waitForAsync()
{
    m_jobs.wait();
}

void SemiDynamicStats::clearAddresses()
{
    m_snapshot.update([](Snapshot& s) {
        s.cellIp = s.wifiIp = s.cellMac = s.wifiMac = NotAvailable;
        s.cellConnected = s.wifiConnected = false;
    });
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
    // Built aside and published whole: a reader never sees "N/A" in between.
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
                const in_addr addr{a.ipv4};
                char dotted[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, &addr, dotted, sizeof dotted);
                const QString text = QString::fromLatin1(dotted);
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
    m_snapshot.update([&](Snapshot& s) {
        s.cellConnected = cellIp != NotAvailable;
        s.wifiConnected = wifiIp != NotAvailable;
        s.cellIp = std::move(cellIp);
        s.wifiIp = std::move(wifiIp);
        s.cellMac = std::move(cellMac);
        s.wifiMac = std::move(wifiMac);
    });
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
    m_snapshot.update([&](Snapshot& s) {
        s.size = size;
        s.freeSize = freeSize;
    });
}

void SemiDynamicStats::refreshCarrierInfoSync()
{
    const CarrierReading reading = m_sources.carrier->read();
    m_snapshot.update([&reading](Snapshot& s) {
        if (!reading.serviceAvailable) {
            s.providesCarrierInfo = false; // the last carrier's fields stay
            return;
        }
        const CarrierDetails none;
        const CarrierDetails& c = reading.carrier ? *reading.carrier : none;
        s.allowsVOIP = c.allowsVOIP;
        // No carrier: null strings, as a missing carrier object gave.
        s.carrierName = reading.carrier ? c.carrierName : QString();
        s.isoCountryCode = reading.carrier ? c.isoCountryCode : QString();
        s.mobileCountryCode = reading.carrier ? c.mobileCountryCode : QString();
        s.mobileNetworkCode = reading.carrier ? c.mobileNetworkCode : QString();
        s.providesCarrierInfo = true;
    });
}

void SemiDynamicStats::runAsync(void (SemiDynamicStats::*work)())
{
    m_jobs.post([this, work] { (this->*work)(); });
}

void SemiDynamicStats::refreshTotalDiskSpaceAsync()
{
    runAsync(&SemiDynamicStats::refreshTotalDiskSpaceSync);
}

void SemiDynamicStats::refreshCarrierInfoAsync()
{
    runAsync(&SemiDynamicStats::refreshCarrierInfoSync);
}

#define WELVANE_SNAPSHOT_GETTER(type, name)                                                        \
    type SemiDynamicStats::name() const                                                            \
    {                                                                                              \
        return snapshot()->name;                                                                   \
    }
WELVANE_SNAPSHOT_GETTER(QString, cellIp)
WELVANE_SNAPSHOT_GETTER(QString, wifiIp)
WELVANE_SNAPSHOT_GETTER(QString, cellMac)
WELVANE_SNAPSHOT_GETTER(QString, wifiMac)
WELVANE_SNAPSHOT_GETTER(bool, cellConnected)
WELVANE_SNAPSHOT_GETTER(bool, wifiConnected)
WELVANE_SNAPSHOT_GETTER(bool, providesCarrierInfo)
WELVANE_SNAPSHOT_GETTER(double, size)
WELVANE_SNAPSHOT_GETTER(double, freeSize)
WELVANE_SNAPSHOT_GETTER(bool, allowsVOIP)
WELVANE_SNAPSHOT_GETTER(QString, carrierName)
WELVANE_SNAPSHOT_GETTER(QString, isoCountryCode)
WELVANE_SNAPSHOT_GETTER(QString, mobileCountryCode)
WELVANE_SNAPSHOT_GETTER(QString, mobileNetworkCode)
#undef WELVANE_SNAPSHOT_GETTER
