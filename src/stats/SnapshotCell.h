#pragma once

#include <memory>
#include <mutex>
#include <utility>

// Holds a collector's current record. A refresh builds a whole new record and
// publishes it with one pointer swap, so a reader holding a snapshot sees one
// refresh entirely and never a field cleared for a moment. Writers are
// serialised among themselves; readers only wait for the swap itself.
template <typename Record> class SnapshotCell {
public:
    explicit SnapshotCell(Record initial = {})
        : m_current(std::make_shared<const Record>(std::move(initial)))
    {
    }

    std::shared_ptr<const Record> load() const
    {
        std::lock_guard lock(m_readMutex);
        return m_current;
    }

    void store(Record record)
    {
        auto next = std::make_shared<const Record>(std::move(record));
        std::lock_guard write(m_writeMutex);
        swapIn(std::move(next));
    }

    // Copies the current record, lets change edit the copy, publishes it.
    // Two refreshes of different parts never undo each other's work.
    template <typename Change> void update(Change&& change)
    {
        std::lock_guard write(m_writeMutex);
        auto next = std::make_shared<Record>(*load());
        change(*next);
        swapIn(std::move(next));
    }

private:
    void swapIn(std::shared_ptr<const Record> next)
    {
        // The old record goes with the parameter, after the lock is released,
        // so freeing a large record never holds up a reader.
        std::lock_guard lock(m_readMutex);
        m_current.swap(next);
    }

    mutable std::mutex m_readMutex;
    std::mutex m_writeMutex;
    std::shared_ptr<const Record> m_current;
};
