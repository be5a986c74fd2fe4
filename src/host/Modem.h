#pragma once

#include <QString>

#include <optional>

// The cellular modem, as far as the device facts need it.
class Modem {
public:
    virtual ~Modem() = default;
    // Whether the platform has a modem service at all (ModemManager on the bus).
    virtual bool available() = 0;
    // The carrier's name; nullopt when no modem reports an operator.
    virtual std::optional<QString> carrierName() = 0;
};
