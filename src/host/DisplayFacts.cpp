#include "host/DisplayFacts.h"

#include <mutex>

namespace {
std::mutex g_mutex;
std::optional<DisplayInfo> g_info;
} // namespace

void DisplayFacts::set(const DisplayInfo& info)
{
    std::lock_guard lock(g_mutex);
    g_info = info;
}

void DisplayFacts::clear()
{
    std::lock_guard lock(g_mutex);
    g_info.reset();
}

std::optional<DisplayInfo> DisplayFacts::get()
{
    std::lock_guard lock(g_mutex);
    return g_info;
}
