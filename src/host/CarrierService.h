#pragma once

#include <QString>

#include <optional>

// The home carrier of the SIM, as the platform's telephony service knows it.
struct CarrierDetails {
    QString carrierName;
    QString mobileCountryCode;
    QString mobileNetworkCode;
    QString isoCountryCode;
    bool allowsVOIP = false;
};

struct CarrierReading {
    // The telephony service exists; without it there is no carrier
    // information at all (not even an empty one).
    bool serviceAvailable = false;
    // The carrier; absent when the service knows of none (no modem, no SIM).
    std::optional<CarrierDetails> carrier;
};

class CarrierService {
public:
    virtual ~CarrierService() = default;
    virtual CarrierReading read() = 0;
};
