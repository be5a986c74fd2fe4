#pragma once

#include "drawing/ListCell.h"

// A row of the Processes screen. The small layout draws name, running time,
// PID, PPID and priority; the large one also PGID and UID.
class ProcessCell : public ListCell {
    Q_OBJECT
public:
    explicit ProcessCell(const QString& reuseIdentifier, QWidget* parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString& v) { assign(m_name, v); }
    QString runtime() const { return m_runtime; }
    void setRuntime(const QString& v) { assign(m_runtime, v); }
    QString PID() const { return m_pid; }
    void setPID(const QString& v) { assign(m_pid, v); }
    QString PPID() const { return m_ppid; }
    void setPPID(const QString& v) { assign(m_ppid, v); }
    QString prio() const { return m_prio; }
    void setPrio(const QString& v) { assign(m_prio, v); }
    QString PGID() const { return m_pgid; }
    void setPGID(const QString& v) { assign(m_pgid, v); }
    QString UID() const { return m_uid; }
    void setUID(const QString& v) { assign(m_uid, v); }

protected:
    std::vector<Item> items(bool large) const override;

private:
    QString m_name, m_runtime, m_pid, m_ppid, m_prio, m_pgid, m_uid;
};
