#include "host/journal/SdJournalReader.h"

#include "host/HostLog.h"

#include <systemd/sd-journal.h>

#include <cstring>
#include <memory>

namespace {

struct JournalCloser {
    void operator()(sd_journal* j) const { sd_journal_close(j); }
};
using JournalPtr = std::unique_ptr<sd_journal, JournalCloser>;

// Journal data is bytes: invalid UTF-8 becomes replacement characters, and a
// NUL (binary payloads) too, so a label never stops at it.
QString decode(const char* data, size_t size)
{
    QString text = QString::fromUtf8(data, static_cast<qsizetype>(size));
    text.replace(QChar(0), QChar(0xFFFD));
    return text;
}

bool startsWith(const void* data, size_t size, const char* prefix, size_t prefixSize)
{
    return size >= prefixSize && std::memcmp(data, prefix, prefixSize) == 0;
}

// Fills the record from one entry in a single pass over its fields: one
// lookup per field would walk the entry's items once for each.
void readEntry(sd_journal* j, LogRecord& record)
{
    static constexpr struct {
        const char* prefix;
        size_t size;
        const char* key;
    } kFields[] = {
        {"MESSAGE=", 8, "Message"},
        {"PRIORITY=", 9, "Level"},
        {"SYSLOG_IDENTIFIER=", 18, "Sender"},
        {"_PID=", 5, "PID"},
    };
    QString comm;
    const void* data = nullptr;
    size_t size = 0;
    sd_journal_restart_data(j);
    for (;;) {
        const int r = sd_journal_enumerate_available_data(j, &data, &size);
        if (r == 0)
            break;
        if (r < 0)
            continue; // a field we cannot read (compression, corruption): skip it
        const char* bytes = static_cast<const char*>(data);
        for (const auto& f : kFields)
            if (startsWith(data, size, f.prefix, f.size)) {
                record.insert(QString::fromLatin1(f.key), decode(bytes + f.size, size - f.size));
                break;
            }
        if (startsWith(data, size, "_COMM=", 6))
            comm = decode(bytes + 6, size - 6);
    }
    if (!record.contains(QStringLiteral("Sender")) && !comm.isNull())
        record.insert(QStringLiteral("Sender"), comm);
}

QString timeText(uint64_t usec)
{
    return QString::asprintf("%llu.%06llu", static_cast<unsigned long long>(usec / 1000000),
                             static_cast<unsigned long long>(usec % 1000000));
}

} // namespace

struct SdJournalReader::Handle {
    static JournalPtr open(const QString& directory, const QStringList& files)
    {
        sd_journal* j = nullptr;
        int r = 0;
        if (!directory.isEmpty()) {
            r = sd_journal_open_directory(&j, directory.toLocal8Bit().constData(), 0);
        } else if (!files.isEmpty()) {
            std::vector<QByteArray> names;
            for (const QString& f : files)
                names.push_back(f.toLocal8Bit());
            std::vector<const char*> paths;
            for (const QByteArray& n : names)
                paths.push_back(n.constData());
            paths.push_back(nullptr);
            r = sd_journal_open_files(&j, paths.data(), 0);
        } else {
            r = sd_journal_open(&j, SD_JOURNAL_LOCAL_ONLY);
        }
        if (r < 0) {
            qCDebug(lcHost) << "cannot open the journal:" << std::strerror(-r);
            return {};
        }
        return JournalPtr(j);
    }
};

SdJournalReader::SdJournalReader() = default;

SdJournalReader::SdJournalReader(QString directory, QStringList files)
    : m_directory(std::move(directory)), m_files(std::move(files))
{
}

bool SdJournalReader::isAvailable()
{
    // Opening succeeds even when there are no files at all (no journald, or
    // none we may read): only files with something in them count.
    JournalPtr j = Handle::open(m_directory, m_files);
    uint64_t bytes = 0;
    const bool available = j && sd_journal_get_usage(j.get(), &bytes) >= 0 && bytes > 0;
    std::lock_guard lock(m_mutex);
    m_opened =
        available ? std::shared_ptr<void>(
                        j.release(), [](void* p) { sd_journal_close(static_cast<sd_journal*>(p)); })
                  : nullptr;
    return available;
}

std::vector<LogRecord> SdJournalReader::newest(std::size_t limit, std::stop_token stop)
{
    std::vector<LogRecord> out;
    std::shared_ptr<void> kept;
    {
        std::lock_guard lock(m_mutex);
        kept = std::exchange(m_opened, nullptr);
    }
    JournalPtr fresh;
    sd_journal* j = static_cast<sd_journal*>(kept.get());
    if (!j) {
        fresh = Handle::open(m_directory, m_files);
        j = fresh.get();
    }
    if (!j || limit == 0)
        return out;
    // Whole messages: Copy gives the full text, the screen cuts what it shows.
    sd_journal_set_data_threshold(j, 0);
    if (sd_journal_seek_tail(j) < 0)
        return out;
    out.reserve(std::min<std::size_t>(limit, 65536));
    while (out.size() < limit && !stop.stop_requested()) {
        const int r = sd_journal_previous(j);
        if (r == 0)
            break;
        if (r < 0) {
            // A corrupt stretch ends the walk; what was read is kept (and
            // shown, so this is no warning).
            qCDebug(lcHost) << "journal read stopped:" << std::strerror(-r);
            break;
        }
        uint64_t usec = 0;
        if (sd_journal_get_realtime_usec(j, &usec) < 0)
            continue;
        LogRecord record;
        record.insert(QStringLiteral("Time"), timeText(usec));
        readEntry(j, record);
        out.push_back(std::move(record));
    }
    return out;
}
