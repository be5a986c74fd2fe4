#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

// Walks a folder tree on byte paths (opendir, fstatat), so a name that is
// not valid UTF-8 is found like any other. Symbolic links are followed; a
// folder met twice (a link loop, two links to one folder) is walked once.
// Folders that cannot be opened and entries that vanish are skipped.
class MediaFolderWalk {
public:
    struct File {
        std::string relativePath; // below the root, '/' separated
        int64_t size = 0;
        int64_t mtimeNs = 0;
    };
    using Wants = std::function<bool(std::string_view name)>;
    using Visit = std::function<void(File)>;

    // Deeper folders than this are not entered.
    static constexpr int kMaxDepth = 64;

    // visit is called for every regular file whose name wants accepts.
    MediaFolderWalk(Wants wants, Visit visit) : m_wants(std::move(wants)), m_visit(std::move(visit))
    {
    }

    // False when stop was requested before the walk ended, or the root
    // cannot be opened as a folder.
    bool walk(const std::string& root, std::stop_token stop);

    int unreadableFolders() const { return m_unreadable; }

private:
    bool walkFolder(int fd, std::string& relative, int depth, const std::stop_token& stop);

    Wants m_wants;
    Visit m_visit;
    std::set<std::pair<uint64_t, uint64_t>> m_seen; // device and inode of folders entered
    int m_unreadable = 0;
};
