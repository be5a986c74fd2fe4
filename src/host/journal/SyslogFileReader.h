#pragma once

#include "host/Journal.h"

#include <functional>
#include <optional>

// A plain syslog file (/var/log/syslog, /var/log/messages), for machines
// without a journal. Only the tail is read, block by block from the end, so
// a file of gigabytes costs what its last lines cost. Lines come in two
// forms: the traditional "Mmm dd hh:mm:ss host tag[pid]: text" and the
// ISO/RFC 5424 stamp "2024-01-02T03:04:05.123456+01:00 host tag[pid]: text"
// (with or without a leading "<pri>1 " header). Lines in neither form are
// skipped.
class SyslogFileReader : public Journal {
public:
    using Clock = std::function<double()>; // calendar seconds, for the year

    explicit SyslogFileReader(QString path, Clock now = {});

    bool isAvailable() override;
    std::vector<LogRecord> newest(std::size_t limit, std::stop_token stop = {}) override;
    QString name() const override { return m_path; }

    // One line as a record, or nothing for a line in neither form. The
    // traditional form has no year: the one that puts the stamp nearest
    // before now (a day of slack for clock skew) is taken.
    static std::optional<LogRecord> parseLine(QStringView line, double now);

private:
    QString m_path;
    Clock m_now;
};
