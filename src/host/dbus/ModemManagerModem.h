#pragma once

#include "host/Modem.h"

#include <QDBusConnection>

// Modem over ModemManager on the system bus: the operator name of the first
// modem that has a 3GPP interface.
class ModemManagerModem : public Modem {
public:
    ModemManagerModem();
    explicit ModemManagerModem(QDBusConnection system);

    bool available() override;
    std::optional<QString> carrierName() override;

    static constexpr int kCallTimeoutMs = 1000;

private:
    QDBusConnection m_bus;
};
