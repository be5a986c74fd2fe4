#pragma once

#include "support/CommandOutput.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <cstdint>

namespace testsupport {

// Journal entries written in the export format and made into a real journal
// file by systemd-journal-remote, as journald would have written them.
class JournalFiles {
public:
    using Entry = QList<QPair<QByteArray, QByteArray>>; // field, value

    static QByteArray exportText(const QList<Entry>& entries)
    {
        QByteArray out;
        for (const Entry& entry : entries) {
            for (const auto& [field, value] : entry) {
                const bool binary = value.contains('\n') || value.contains('\0') ||
                                    value.contains('\xff') || value.contains('\xfe');
                if (!binary) {
                    out += field + '=' + value + '\n';
                    continue;
                }
                out += field + '\n';
                const uint64_t size = static_cast<uint64_t>(value.size());
                for (int i = 0; i < 8; ++i)
                    out += static_cast<char>((size >> (8 * i)) & 0xff);
                out += value + '\n';
            }
            out += '\n';
        }
        return out;
    }

    // An entry stamped usec after the epoch, with the boot fields the
    // importer wants.
    static Entry entry(uint64_t usec, Entry fields)
    {
        Entry e{{"__REALTIME_TIMESTAMP", QByteArray::number(qulonglong(usec))},
                {"__MONOTONIC_TIMESTAMP", QByteArray::number(qulonglong(usec % 1000000000))},
                {"_BOOT_ID", "0123456789abcdef0123456789abcdef"}};
        e += fields;
        return e;
    }

    // Writes journalFile from entries; answers whether the importer made it.
    static bool make(const QString& journalFile, const QList<Entry>& entries)
    {
        const QString input = journalFile + QStringLiteral(".export");
        QFile f(input);
        if (!f.open(QIODevice::WriteOnly) || f.write(exportText(entries)) < 0)
            return false;
        f.close();
        commandOutput(QStringLiteral("/lib/systemd/systemd-journal-remote"),
                      {QStringLiteral("--split-mode=none"),
                       QStringLiteral("--output=") + journalFile, input});
        QFile::remove(input);
        return QFile::exists(journalFile);
    }
};

} // namespace testsupport
