#pragma once

#include <QMap>
#include <QString>

#include <cstddef>
#include <stop_token>
#include <vector>

// One log record: every key the source gives, each mapped to its text. The
// keys the screens read are "Time" (seconds since 1970 as decimal text with
// its fraction), "Message", "Level" (0..7), "Sender" and "PID"; a key the
// source lacks is left out.
using LogRecord = QMap<QString, QString>;

// A source of system log records, newest first. Reading may take long (a
// journal of millions of entries): call it off the UI thread.
class Journal {
public:
    virtual ~Journal() = default;

    // Whether the source can be read on this machine now; a cheap check.
    virtual bool isAvailable() = 0;
    // At most limit of the newest records, newest first. A stop request ends
    // the read early with what it has.
    virtual std::vector<LogRecord> newest(std::size_t limit, std::stop_token stop = {}) = 0;
    // What the source is, for the log: "journal", a file name, "kernel".
    virtual QString name() const = 0;
};
