#include "stats/AsyncRunner.h"

void AsyncRunner::run(std::function<void()> work)
{
    std::lock_guard lock(m_mutex);
    m_threads.emplace_back(std::move(work));
}

void AsyncRunner::waitAll()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(m_mutex);
        threads.swap(m_threads);
    }
    for (std::thread& t : threads)
        t.join();
}
