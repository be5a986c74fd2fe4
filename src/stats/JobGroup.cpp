#include "stats/JobGroup.h"

#include <memory>

void JobGroup::post(BackgroundWorker::Job job)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_pending;
    }
    // The ticket counts the job finished when the worker releases it, whether
    // it ran or was dropped at shutdown, so wait() can never hang on it.
    std::shared_ptr<void> ticket(nullptr, [this](void*) { finished(); });
    m_worker.post([job = std::move(job), ticket = std::move(ticket)] { job(); });
}

void JobGroup::finished()
{
    // Notified under the lock: once wait() sees zero it may destroy the group.
    std::lock_guard lock(m_mutex);
    --m_pending;
    m_done.notify_all();
}

void JobGroup::wait()
{
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return m_pending == 0; });
}

std::size_t JobGroup::pending() const
{
    std::lock_guard lock(m_mutex);
    return m_pending;
}
