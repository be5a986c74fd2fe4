#include "host/proc/LinuxProcessTable.h"

#include "host/HostLog.h"
#include "host/proc/ProcessStatParser.h"
#include "host/proc/ProcParsers.h"
#include "host/system/HostFile.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Reads up to size bytes of dir/pid/leaf in one read: the Uid line sits near
// the top of status, and a stat line is far shorter than the buffer.
std::size_t readAt(int dirFd, const char* pid, const char* leaf, char* buffer, std::size_t size)
{
    char path[64];
    std::snprintf(path, sizeof path, "%s/%s", pid, leaf);
    const int fd = ::openat(dirFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    ssize_t n;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool isPid(const char* name)
{
    if (!*name)
        return false;
    for (const char* c = name; *c; ++c)
        if (*c < '0' || *c > '9')
            return false;
    return true;
}

} // namespace

LinuxProcessTable::LinuxProcessTable(std::string root, long ticksPerSecond)
    : m_root(std::move(root)), m_ticks(ticksPerSecond > 0 ? ticksPerSecond : ::sysconf(_SC_CLK_TCK))
{
    if (m_ticks <= 0)
        m_ticks = 100;
}

std::optional<std::vector<ProcessRecord>> LinuxProcessTable::processes()
{
    const std::string procDir = hostfile::join(m_root, "/proc");
    const auto stat = hostfile::read(procDir + "/stat");
    const std::optional<uint64_t> boot = stat ? procparse::bootTime(*stat) : std::nullopt;
    DIR* dir = boot ? ::opendir(procDir.c_str()) : nullptr;
    if (!dir) {
        // Without the boot time every start time would be wrong: no table.
        if (!m_loggedFailure)
            qCWarning(lcHost) << "process table unreadable under" << procDir.c_str();
        m_loggedFailure = true;
        return std::nullopt;
    }
    const int dirFd = ::dirfd(dir);
    std::vector<ProcessRecord> out;
    char buffer[4096];
    while (const dirent* entry = ::readdir(dir)) {
        if (!isPid(entry->d_name))
            continue;
        // A process that exits between the listing and the reads is skipped.
        std::size_t n = readAt(dirFd, entry->d_name, "stat", buffer, sizeof buffer);
        const auto fields = procstat::statLine(std::string_view(buffer, n));
        if (!fields)
            continue;
        ProcessRecord record;
        record.comm.assign(fields->comm);
        record.pid = fields->pid;
        record.ppid = fields->ppid;
        record.pgid = fields->pgrp;
        record.priority = fields->priority;
        record.startTime =
            static_cast<std::int64_t>(*boot + fields->startTicks / static_cast<uint64_t>(m_ticks));
        n = readAt(dirFd, entry->d_name, "status", buffer, sizeof buffer);
        const auto uid = procstat::effectiveUid(std::string_view(buffer, n));
        if (!uid)
            continue;
        record.uid = *uid;
        out.push_back(std::move(record));
    }
    ::closedir(dir);
    return out;
}
