#pragma once

#include <functional>
#include <string>
#include <vector>

// A small process-wide notification centre: observers register for a name
// and are called, in registration order, when that name is posted. Main
// thread only, like the screens that use it.
class NotificationCenter {
public:
    using Handler = std::function<void(const std::string& name, const void* object)>;

    static NotificationCenter& defaultCenter();

    // owner identifies the observer for removeObserver(); several handlers
    // may share one owner.
    void addObserver(const void* owner, const std::string& name, Handler handler);
    void removeObserver(const void* owner);
    void removeObserver(const void* owner, const std::string& name);
    void postNotification(const std::string& name, const void* object = nullptr);

    int observerCount(const std::string& name) const;

private:
    struct Entry {
        const void* owner;
        std::string name;
        Handler handler;
        unsigned long id;
    };
    std::vector<Entry> m_entries;
    unsigned long m_nextId = 1;
};
