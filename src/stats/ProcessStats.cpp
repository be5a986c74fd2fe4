#include "stats/ProcessStats.h"

#include "host/proc/LinuxProcessTable.h"
#include "host/system/PasswdUserDirectory.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <unistd.h>
#include <unordered_map>

ProcessStats& ProcessStats::instance()
{
    static ProcessStats shared(std::make_shared<LinuxProcessTable>(),
                               std::make_shared<PasswdUserDirectory>(), ::geteuid());
    return shared;
}

ProcessStats::ProcessStats(std::shared_ptr<ProcessTable> table,
                           std::shared_ptr<UserDirectory> users, std::uint32_t owner, Clock clock)
    : m_table(std::move(table)), m_users(std::move(users)), m_owner(owner),
      m_clock(std::move(clock)), m_jobs(BackgroundWorker::snapshots())
{
    if (!m_clock)
        m_clock = [] {
            using namespace std::chrono;
            return duration<double>(system_clock::now().time_since_epoch()).count();
        };
}

ProcessStats::~ProcessStats()
{
    waitForAsync();
}

void ProcessStats::refreshAsync()
{
    m_jobs.post([this] { refresh(); });
}

void ProcessStats::waitForAsync()
{
    m_jobs.wait();
}

std::string ProcessStats::runtimeText(std::int64_t t)
{
    const std::int64_t days = t / 86400;
    const std::int64_t r1 = t % 86400;
    const std::int64_t hours = r1 / 3600;
    const std::int64_t r2 = r1 % 3600;
    std::string out;
    if (days != 0)
        out += std::to_string(days) + "d ";
    if (days != 0 || hours != 0)
        out += std::to_string(hours) + "h ";
    out += std::to_string(r2 / 60) + "m ";
    out += std::to_string(r2 % 60) + "s";
    return out;
}

bool ProcessStats::userBefore(const std::string& a, const std::string& b,
                              const std::optional<std::string>& owner)
{
    if (a == b)
        return false;
    if (owner) {
        if (a == *owner)
            return true;
        if (b == *owner)
            return false;
    }
    if (a == "root")
        return true;
    if (b == "root")
        return false;
    return a < b; // std::string compares bytes, case-sensitive
}

void ProcessStats::refresh()
{
    std::lock_guard lock(m_refreshMutex);
    std::optional<std::vector<ProcessRecord>> table = m_table->processes();
    if (!table)
        return; // the previous groups stay

    // Each user is looked up once per refresh, not once per process.
    std::unordered_map<std::uint32_t, std::string> names;
    const auto nameOf = [&](std::uint32_t uid) -> const std::string& {
        auto it = names.find(uid);
        if (it == names.end())
            it = names.emplace(uid, m_users->userName(uid).value_or(std::string())).first;
        return it->second;
    };
    const std::optional<std::string> owner = m_users->userName(m_owner);

    const double now = m_clock();
    std::vector<ProcessInfo> work;
    work.reserve(table->size());
    for (ProcessRecord& r : *table) {
        ProcessInfo& info = work.emplace_back();
        info.name = std::move(r.comm);
        // 64-bit seconds: a clock far off cannot overflow the difference.
        const double age = std::trunc(now - static_cast<double>(r.startTime));
        info.runtime = runtimeText(static_cast<std::int64_t>(age));
        info.user = nameOf(r.uid);
        info.pid = r.pid;
        info.ppid = r.ppid;
        info.prio = r.priority;
        info.uid = static_cast<std::int32_t>(r.uid);
        info.pgid = r.pgid;
    }
    // The same order as a pid sort followed by a stable sort by user.
    std::sort(work.begin(), work.end(), [&](const ProcessInfo& a, const ProcessInfo& b) {
        if (a.user != b.user)
            return userBefore(a.user, b.user, owner);
        return a.pid > b.pid;
    });

    Snapshot next;
    for (ProcessInfo& info : work) {
        if (next.processArray.empty() || next.processArray.back().name != info.user)
            next.processArray.push_back(ProcessUserGroup{info.user, {}});
        next.processArray.back().processList.push_back(std::move(info));
    }
    m_snapshot.store(std::move(next));
}
