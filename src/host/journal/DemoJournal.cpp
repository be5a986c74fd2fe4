#include "host/journal/DemoJournal.h"

std::vector<LogRecord> DemoJournal::newest(std::size_t limit, std::stop_token)
{
    struct Line {
        const char* time;
        int level;
        const char* sender;
        const char* pid;
        const char* message;
    };
    // Newest first, a little apart, on a fixed day.
    static constexpr Line kLines[] = {
        {"1700000400.250000", 7, "kernel", "0", "usb 1-2: new high-speed USB device number 4"},
        {"1700000350.000000", 6, "NetworkManager", "812",
         "device (wlan0): state change: config -> ip-config (reason 'none')"},
        {"1700000300.125000", 5, "systemd", "1", "Started Daily apt upgrade and clean activities."},
        {"1700000250.500000", 4, "backup-agent", "2231",
         "backup of /srv/photos is running late: 2 of 5 volumes copied after 40 minutes, "
         "the next run starts in 20 minutes and will wait for this one to finish"},
        {"1700000200.000000", 3, "nginx", "1408",
         "upstream timed out (110: Connection timed out) while reading response header"},
        {"1700000150.750000", 2, "smartd", "644",
         "Device: /dev/sda, 8 Currently unreadable (pending) sectors"},
        {"1700000100.000000", 1, "watchdog", "301",
         "heartbeat from app-worker missed (3 consecutive)"},
        {"1700000050.000000", 0, "kernel", "0", "Kernel panic - not syncing: Fatal exception"},
    };
    std::vector<LogRecord> out;
    for (const Line& l : kLines) {
        if (out.size() >= limit)
            break;
        LogRecord r;
        r.insert(QStringLiteral("Time"), QString::fromLatin1(l.time));
        r.insert(QStringLiteral("Level"), QString::number(l.level));
        r.insert(QStringLiteral("Sender"), QString::fromLatin1(l.sender));
        r.insert(QStringLiteral("PID"), QString::fromLatin1(l.pid));
        r.insert(QStringLiteral("Message"), QString::fromLatin1(l.message));
        out.push_back(std::move(r));
    }
    return out;
}
