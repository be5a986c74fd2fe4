#pragma once

#include "drawing/ListCell.h"

// A row of the Connections screen: local and remote endpoint and the TCP
// state with its lamp (green established, red closed, amber any other
// state; "N/A" stands where the lamp would be).
class ConnectionCell : public ListCell {
    Q_OBJECT
public:
    explicit ConnectionCell(const QString& reuseIdentifier, QWidget* parent = nullptr);

    QString localAddress() const { return m_localAddress; }
    void setLocalAddress(const QString& v) { assign(m_localAddress, v); }
    QString remoteAddress() const { return m_remoteAddress; }
    void setRemoteAddress(const QString& v) { assign(m_remoteAddress, v); }
    QString localPort() const { return m_localPort; }
    void setLocalPort(const QString& v) { assign(m_localPort, v); }
    QString remotePort() const { return m_remotePort; }
    void setRemotePort(const QString& v) { assign(m_remotePort, v); }
    QString state() const { return m_state; }
    void setState(const QString& v) { assign(m_state, v); }

    static Lamp lampForState(const QString& state);

protected:
    std::vector<Item> items(bool large) const override;

private:
    QString m_localAddress, m_remoteAddress, m_localPort, m_remotePort, m_state;
};
