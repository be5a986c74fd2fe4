#pragma once

#include "host/CarrierService.h"
#include "host/InterfaceAddresses.h"
#include "host/sysfs/InterfaceRoles.h"
#include "host/VolumeInfo.h"
#include "stats/JobGroup.h"
#include "stats/SnapshotCell.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Values that change now and then: the Wi-Fi and cellular IPv4 and hardware
// addresses, the carrier and the documents volume. Each refresh publishes a
// whole new snapshot, so the Async twins may run beside readers, and a reader
// combining values takes one snapshot().
class SemiDynamicStats {
public:
    struct Snapshot {
        QString cellIp, wifiIp, cellMac, wifiMac; // "N/A" until read
        bool cellConnected = false, wifiConnected = false;
        bool providesCarrierInfo = false, allowsVOIP = false;
        double size = 0, freeSize = 0;
        QString carrierName, isoCountryCode, mobileCountryCode, mobileNetworkCode;
    };

    struct Sources {
        std::shared_ptr<InterfaceAddresses> addresses;
        std::shared_ptr<InterfaceRoles> roles;
        std::shared_ptr<VolumeInfo> volume;
        std::shared_ptr<CarrierService> carrier;
        std::function<QString()> documentsPath;
    };

    static SemiDynamicStats& instance();
    static Sources linuxSources();

    explicit SemiDynamicStats(Sources sources);
    ~SemiDynamicStats(); // waits for its Async work still queued or running

    // Every value of one refresh together; the getters below each read one.
    std::shared_ptr<const Snapshot> snapshot() const { return m_snapshot.load(); }
    // Waits for this instance's Async refreshes queued so far (tests, shutdown).
    void waitForAsync();

    void clearAddresses();
    void refreshAddressesSync();
    void refreshTotalDiskSpaceSync();
    void refreshCarrierInfoSync();
    void refreshTotalDiskSpaceAsync();
    void refreshCarrierInfoAsync();

    QString cellIp() const;
    QString wifiIp() const;
    QString cellMac() const;
    QString wifiMac() const;
    bool cellConnected() const;
    bool wifiConnected() const;
    bool providesCarrierInfo() const;
    double size() const;
    double freeSize() const;
    bool allowsVOIP() const;
    // Null strings (not "N/A") when the carrier gave none.
    QString carrierName() const;
    QString isoCountryCode() const;
    QString mobileCountryCode() const;
    QString mobileNetworkCode() const;

    static QString macText(const std::vector<std::uint8_t>& bytes);

private:
    void runAsync(void (SemiDynamicStats::*work)());

    Sources m_sources;
    SnapshotCell<Snapshot> m_snapshot;
    JobGroup m_jobs; // last: its destructor waits for jobs that use the fields above
};
