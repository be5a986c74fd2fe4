#pragma once

#include "host/Journal.h"

#include <QByteArray>

#include <functional>

// The kernel ring buffer through /dev/kmsg, the last resort when there is
// neither a journal nor a syslog file. Each record is
// "priority,sequence,microseconds,flags;text" (continuation lines, which
// start with a space, carry device properties and are left out). The stamp
// counts from boot; the boot time makes it a calendar time.
class KernelRingReader : public Journal {
public:
    using BootTime = std::function<double()>; // calendar seconds at boot

    explicit KernelRingReader(QString path = QStringLiteral("/dev/kmsg"), BootTime bootTime = {});

    bool isAvailable() override;
    std::vector<LogRecord> newest(std::size_t limit, std::stop_token stop = {}) override;
    QString name() const override { return m_path; }

    // The records of bytes read from the device (or a file of its lines),
    // newest first, at most limit.
    static std::vector<LogRecord> parse(const QByteArray& bytes, double bootTime,
                                        std::size_t limit);

private:
    QString m_path;
    BootTime m_bootTime;
};
