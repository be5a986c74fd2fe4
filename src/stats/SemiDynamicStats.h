#pragma once

#include "host/CarrierService.h"
#include "host/InterfaceAddresses.h"
#include "host/sysfs/InterfaceRoles.h"
#include "host/VolumeInfo.h"
#include "stats/AsyncRunner.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Values that change now and then: the Wi-Fi and cellular IPv4 and hardware
// addresses, the carrier and the documents volume. Every field is guarded
// by one mutex, so the Async twins may run beside readers.
class SemiDynamicStats {
public:
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
    ~SemiDynamicStats(); // waits for Async work still running

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
    mutable std::mutex m_mutex;
    QString m_cellIp, m_wifiIp, m_cellMac, m_wifiMac;
    bool m_cellConnected = false, m_wifiConnected = false;
    bool m_providesCarrierInfo = false, m_allowsVOIP = false;
    double m_size = 0, m_freeSize = 0;
    QString m_carrierName, m_isoCountryCode, m_mobileCountryCode, m_mobileNetworkCode;
    AsyncRunner m_async;
};
