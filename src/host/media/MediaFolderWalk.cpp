#include "host/media/MediaFolderWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

int64_t nanoseconds(const struct timespec& t)
{
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

bool MediaFolderWalk::walk(const std::string& root, std::stop_token stop)
{
    m_seen.clear();
    m_unreadable = 0;
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::string relative;
    return walkFolder(fd, relative, 0, stop);
}

// Takes over fd and closes it.
bool MediaFolderWalk::walkFolder(int fd, std::string& relative, int depth,
                                 const std::stop_token& stop)
{
    struct stat self {};
    if (::fstat(fd, &self) != 0 ||
        !m_seen.emplace(static_cast<uint64_t>(self.st_dev), static_cast<uint64_t>(self.st_ino))
             .second) {
        ::close(fd);
        return true;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        ++m_unreadable;
        return true;
    }
    const std::size_t base = relative.size();
    bool finished = true;
    while (const dirent* e = ::readdir(dir)) {
        if (stop.stop_requested()) {
            finished = false;
            break;
        }
        const char* name = e->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        // Only folders, links and files wanted by name are worth a stat.
        const bool maybeFolder =
            e->d_type == DT_DIR || e->d_type == DT_LNK || e->d_type == DT_UNKNOWN;
        const bool wanted = m_wants(name);
        if (!maybeFolder && !wanted)
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), name, &st, 0) != 0)
            continue; // vanished, or a dangling link
        relative.resize(base);
        if (base)
            relative += '/';
        relative += name;
        if (S_ISDIR(st.st_mode)) {
            if (depth + 1 >= kMaxDepth)
                continue;
            const int child = ::openat(::dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (child < 0) {
                ++m_unreadable;
                continue;
            }
            if (!walkFolder(child, relative, depth + 1, stop)) {
                finished = false;
                break;
            }
        } else if (S_ISREG(st.st_mode) && wanted) {
            m_visit(File{relative, static_cast<int64_t>(st.st_size), nanoseconds(st.st_mtim)});
        }
    }
    relative.resize(base);
    ::closedir(dir);
    return finished;
}
