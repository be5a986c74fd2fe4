#pragma once

#include "host/CarrierService.h"

#include <QDBusConnection>

// The carrier from ModemManager on the system bus: the first modem's SIM
// (operator name and MCC+MNC identifier), else the 3GPP network operator
// it is registered on. A bus without ModemManager means no service; the
// service is never started just to ask.
class ModemManagerCarrier : public CarrierService {
public:
    explicit ModemManagerCarrier(QDBusConnection bus = QDBusConnection::systemBus());
    CarrierReading read() override;

private:
    QDBusConnection m_bus;
};
