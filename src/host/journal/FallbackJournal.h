#pragma once

#include "host/Journal.h"

#include <memory>
#include <mutex>

// Reads from the first of its sources that is available, chosen again on
// every read (a journal may appear or become readable later). The machine's
// chain is the journal, then /var/log/syslog or /var/log/messages, then the
// kernel ring buffer. A change of source is logged once.
class FallbackJournal : public Journal {
public:
    explicit FallbackJournal(std::vector<std::unique_ptr<Journal>> sources);

    // The machine's own chain.
    static std::unique_ptr<FallbackJournal> machine();

    bool isAvailable() override;
    std::vector<LogRecord> newest(std::size_t limit, std::stop_token stop = {}) override;
    QString name() const override;

private:
    Journal* choose();

    std::vector<std::unique_ptr<Journal>> m_sources;
    mutable std::mutex m_mutex;
    Journal* m_chosen = nullptr;
    bool m_chosenOnce = false;
};
