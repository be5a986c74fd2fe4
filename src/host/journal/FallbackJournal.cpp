#include "host/journal/FallbackJournal.h"

#include "host/HostLog.h"
#include "host/journal/KernelRingReader.h"
#include "host/journal/SdJournalReader.h"
#include "host/journal/SyslogFileReader.h"

FallbackJournal::FallbackJournal(std::vector<std::unique_ptr<Journal>> sources)
    : m_sources(std::move(sources))
{
}

std::unique_ptr<FallbackJournal> FallbackJournal::machine()
{
    std::vector<std::unique_ptr<Journal>> sources;
    sources.push_back(std::make_unique<SdJournalReader>());
    sources.push_back(std::make_unique<SyslogFileReader>(QStringLiteral("/var/log/syslog")));
    sources.push_back(std::make_unique<SyslogFileReader>(QStringLiteral("/var/log/messages")));
    sources.push_back(std::make_unique<KernelRingReader>());
    return std::make_unique<FallbackJournal>(std::move(sources));
}

Journal* FallbackJournal::choose()
{
    Journal* found = nullptr;
    for (const auto& source : m_sources)
        if (source->isAvailable()) {
            found = source.get();
            break;
        }
    std::lock_guard lock(m_mutex);
    if (!m_chosenOnce || found != m_chosen) {
        if (found && found != m_sources.front().get())
            qCInfo(lcHost) << "system log: no journal to read, using" << found->name();
        else if (!found)
            qCWarning(lcHost) << "system log: no journal, syslog file or kernel log to read";
    }
    m_chosen = found;
    m_chosenOnce = true;
    return found;
}

bool FallbackJournal::isAvailable()
{
    for (const auto& source : m_sources)
        if (source->isAvailable())
            return true;
    return false;
}

std::vector<LogRecord> FallbackJournal::newest(std::size_t limit, std::stop_token stop)
{
    Journal* source = choose();
    return source ? source->newest(limit, stop) : std::vector<LogRecord>{};
}

QString FallbackJournal::name() const
{
    std::lock_guard lock(m_mutex);
    return m_chosen ? m_chosen->name() : QStringLiteral("none");
}
