#pragma once

#include "host/CarrierService.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// What ModemManager has told us so far: its objects (modems, and the SIMs
// they point at) with the properties of each interface, as kept current by
// the object manager's and the properties' change signals. Plain data, read
// and written on one thread.
class ModemManagerState {
public:
    using Interfaces = QMap<QString, QVariantMap>;
    using Objects = QMap<QString, Interfaces>;

    static const QString ModemIface;
    static const QString Modem3gppIface;
    static const QString SimIface;

    void reset(Objects objects = {}) { m_objects = std::move(objects); }
    void addInterfaces(const QString& path, const Interfaces& interfaces);
    void removeInterfaces(const QString& path, const QStringList& interfaces);
    void changeProperties(const QString& path, const QString& iface, const QVariantMap& changed,
                          const QStringList& invalidated);
    bool hasInterface(const QString& path, const QString& iface) const;

    // The SIM of the first modem; empty when it has none.
    QString firstModemSim() const;

    // The first modem's carrier: the SIM's operator name and MCC+MNC, else
    // the 3GPP network operator it is registered on.
    std::optional<CarrierDetails> carrier() const;
    // The operator name of the first modem with a 3GPP interface that has one.
    std::optional<QString> operatorName() const;

private:
    QString firstModem() const;
    QVariant property(const QString& path, const QString& iface, const QString& name) const;

    Objects m_objects;
};
