#pragma once

#include "drawing/ListCell.h"

// A row of the Routing Table screen. The small layout draws destination,
// gateway, interface and flags; the large one also refs, use, MTU and expiry.
class RouteCell : public ListCell {
    Q_OBJECT
public:
    explicit RouteCell(const QString& reuseIdentifier, QWidget* parent = nullptr);

    QString destination() const { return m_destination; }
    void setDestination(const QString& v) { assign(m_destination, v); }
    QString gateway() const { return m_gateway; }
    void setGateway(const QString& v) { assign(m_gateway, v); }
    QString flags() const { return m_flags; }
    void setFlags(const QString& v) { assign(m_flags, v); }
    QString interface() const { return m_interface; }
    void setInterface(const QString& v) { assign(m_interface, v); }
    QString refs() const { return m_refs; }
    void setRefs(const QString& v) { assign(m_refs, v); }
    QString use() const { return m_use; }
    void setUse(const QString& v) { assign(m_use, v); }
    QString expire() const { return m_expire; }
    void setExpire(const QString& v) { assign(m_expire, v); }
    QString mtu() const { return m_mtu; }
    void setMtu(const QString& v) { assign(m_mtu, v); }

protected:
    std::vector<Item> items(bool large) const override;

private:
    QString m_destination, m_gateway, m_flags, m_interface, m_refs, m_use, m_expire, m_mtu;
};
