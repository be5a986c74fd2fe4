#include "host/system/StatvfsVolumeInfo.h"

#include <cerrno>
#include <sys/statvfs.h>

std::optional<VolumeSpace> StatvfsVolumeInfo::spaceFor(const std::string& path)
{
    std::string p = path.empty() ? std::string("/") : path;
    struct statvfs st {};
    // Bounded: each step drops one path component.
    for (int depth = 0; depth < 256; ++depth) {
        if (::statvfs(p.c_str(), &st) == 0) {
            VolumeSpace v;
            v.size = std::uint64_t(st.f_blocks) * st.f_frsize;
            v.freeSize = std::uint64_t(st.f_bavail) * st.f_frsize;
            return v;
        }
        if (errno != ENOENT || p == "/")
            return std::nullopt;
        const auto slash = p.find_last_of('/');
        p = slash == 0 || slash == std::string::npos ? std::string("/") : p.substr(0, slash);
    }
    return std::nullopt;
}
