#pragma once

#include "host/media/MediaTags.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The tags of every file a scan has read, in an SQLite file keyed by the
// file's path bytes with its size and modification time, so the next scan
// opens only new and changed files. A cache file that is corrupt, of another
// schema or cannot be opened is removed and made anew; when even that fails,
// scans run without a cache. Writes go in transactions of at most kBatch
// files. One object per scan, used from one thread.
class MediaCache {
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr int kBatch = 500;

    struct Row {
        int64_t size = 0;
        int64_t mtimeNs = 0;
        bool audio = false; // false: TagLib could not open it
        MediaTags tags;
    };
    // By path, in byte order.
    using Rows = std::vector<std::pair<std::string, Row>>;

    explicit MediaCache(std::string path);
    ~MediaCache();
    MediaCache(const MediaCache&) = delete;
    MediaCache& operator=(const MediaCache&) = delete;

    // Every row, in path order. Opens (or rebuilds) the file first; a file
    // that cannot be read whole is rebuilt and gives no rows.
    Rows load();
    // Queued in the open transaction, committed at every kBatch rows.
    void put(const std::string& path, const Row& row);
    void remove(const std::vector<std::string>& paths);
    // Commits what is queued.
    void commit();

    bool usable() const { return m_db != nullptr; }
    // Whether load() found the file unfit and started a new one.
    bool rebuilt() const { return m_rebuilt; }

private:
    bool open();
    bool prepare();
    void discard(const char* why);
    void close();
    bool exec(const char* sql);
    bool begin();

    std::string m_path;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_put = nullptr;
    sqlite3_stmt* m_remove = nullptr;
    int m_queued = 0;
    bool m_inTransaction = false;
    bool m_rebuilt = false;
};
