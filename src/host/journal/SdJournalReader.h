#pragma once

#include "host/Journal.h"

#include <QStringList>

#include <memory>
#include <mutex>

// The systemd journal through sd_journal: the machine's own journal, a
// journal directory, or a set of journal files (a rotated set). Records are
// read from the tail backwards, so the newest window costs the same in a
// journal of a thousand entries or of millions. A user outside the journal's
// groups reads what the journal lets them read, as journalctl does.
class SdJournalReader : public Journal {
public:
    // The local machine's journal (system and this user's).
    SdJournalReader();
    // The journal files in directory, or the given files when directory is
    // empty.
    SdJournalReader(QString directory, QStringList files);

    bool isAvailable() override;
    std::vector<LogRecord> newest(std::size_t limit, std::stop_token stop = {}) override;
    QString name() const override { return QStringLiteral("journal"); }

private:
    struct Handle;
    QString m_directory;
    QStringList m_files;
    // The journal isAvailable() opened, kept for the read that follows it:
    // opening a large journal is not free.
    std::mutex m_mutex;
    std::shared_ptr<void> m_opened;
};
