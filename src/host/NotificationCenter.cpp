#include "host/NotificationCenter.h"

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* owner, const std::string& name, Handler handler)
{
    m_entries.push_back({owner, name, std::move(handler), m_nextId++});
}

void NotificationCenter::removeObserver(const void* owner)
{
    std::erase_if(m_entries, [owner](const Entry& e) { return e.owner == owner; });
}

void NotificationCenter::removeObserver(const void* owner, const std::string& name)
{
    std::erase_if(m_entries, [&](const Entry& e) { return e.owner == owner && e.name == name; });
}

void NotificationCenter::postNotification(const std::string& name, const void* object)
{
    // Handlers may add or remove observers while we deliver: walk a list of
    // ids taken now and skip the ones that have gone meanwhile.
    std::vector<unsigned long> ids;
    for (const Entry& e : m_entries)
        if (e.name == name)
            ids.push_back(e.id);
    for (unsigned long id : ids) {
        auto it = std::find_if(m_entries.begin(), m_entries.end(),
                               [id](const Entry& e) { return e.id == id; });
        if (it == m_entries.end())
            continue;
        Handler handler = it->handler; // copy: the entry may be erased inside
        handler(name, object);
    }
}

int NotificationCenter::observerCount(const std::string& name) const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
                                          [&](const Entry& e) { return e.name == name; }));
}
