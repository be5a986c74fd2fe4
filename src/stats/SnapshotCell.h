#pragma once

#include <memory>
#include <mutex>
#include <utility>

// Holds a collector's current record. A refresh builds a whole new record and
// publishes it with one pointer swap, so a reader holding a snapshot sees one
// refresh entirely and never a field cleared for a moment. One mutex, never
// held while another is taken: readers wait at most for a swap or, in
// update(), for the copy of a small record.
template <typename Record> class SnapshotCell {
public:
    explicit SnapshotCell(Record initial = {})
        : m_current(std::make_shared<const Record>(std::move(initial)))
    {
    }

    std::shared_ptr<const Record> load() const
    {
        std::lock_guard lock(m_mutex);
        return m_current;
    }

    void store(Record record)
    {
        std::shared_ptr<const Record> next = std::make_shared<const Record>(std::move(record));
        std::lock_guard lock(m_mutex);
        m_current.swap(next);
    } // the old record goes after the lock is released

    // Publishes a copy of the current record as change edits it, so two
    // refreshes of different parts never undo each other's work.
    template <typename Change> void update(Change&& change)
    {
        std::shared_ptr<const Record> old;
        std::lock_guard lock(m_mutex);
        auto next = std::make_shared<Record>(*m_current);
        change(*next);
        old = std::exchange(m_current, std::move(next));
    }

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const Record> m_current;
};
