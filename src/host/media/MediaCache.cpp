#include "host/media/MediaCache.h"

#include "host/HostLog.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>

namespace {

std::atomic_bool g_warned{false};

std::string columnText(sqlite3_stmt* s, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(s, column)))
                : std::string();
}

void bindText(sqlite3_stmt* s, int index, const std::string& text)
{
    // Not copied: the bindings are cleared right after each step.
    sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

} // namespace

MediaCache::MediaCache(std::string path) : m_path(std::move(path)) {}

MediaCache::~MediaCache()
{
    commit();
    close();
}

bool MediaCache::exec(const char* sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool MediaCache::open()
{
    if (m_path.empty())
        return false;
    QDir().mkpath(QFileInfo(QString::fromLocal8Bit(m_path.c_str())).absolutePath());
    if (sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        close();
        return false;
    }
    sqlite3_busy_timeout(m_db, 2000);
    // A cache may lose its last writes in a crash, never its consistency.
    if (!exec("PRAGMA journal_mode=WAL") || !exec("PRAGMA synchronous=NORMAL"))
        return false;
    exec("PRAGMA mmap_size=268435456"); // a warm scan reads it all: no read call per page
    sqlite3_stmt* s = nullptr;
    int version = -1;
    int objects = -1;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT (SELECT user_version FROM pragma_user_version), "
                           "(SELECT count(*) FROM sqlite_master)",
                           -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW) {
        version = sqlite3_column_int(s, 0);
        objects = sqlite3_column_int(s, 1);
    }
    sqlite3_finalize(s);
    if (version == 0 && objects == 0) {
        const std::string create =
            "CREATE TABLE files(path BLOB PRIMARY KEY, size INTEGER NOT NULL, "
            "mtime INTEGER NOT NULL, audio INTEGER NOT NULL, album TEXT, albumartist TEXT, "
            "artist TEXT, composer TEXT, genre TEXT, compilation INTEGER) WITHOUT ROWID;"
            "PRAGMA user_version=" +
            std::to_string(kSchemaVersion);
        if (!exec(create.c_str()))
            return false;
    } else if (version != kSchemaVersion) {
        return false;
    }
    return prepare();
}

bool MediaCache::prepare()
{
    return sqlite3_prepare_v2(m_db,
                              "INSERT OR REPLACE INTO files VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10)",
                              -1, &m_put, nullptr) == SQLITE_OK &&
           sqlite3_prepare_v2(m_db, "DELETE FROM files WHERE path=?1", -1, &m_remove, nullptr) ==
               SQLITE_OK;
}

void MediaCache::close()
{
    sqlite3_finalize(m_put);
    sqlite3_finalize(m_remove);
    m_put = m_remove = nullptr;
    sqlite3_close(m_db); // statements are gone, so this closes at once
    m_db = nullptr;
    m_inTransaction = false;
    m_queued = 0;
}

void MediaCache::discard(const char* why)
{
    if (!g_warned.exchange(true))
        qCWarning(lcHost) << "media cache" << m_path.c_str() << why << "- rebuilding it";
    close();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        ::unlink((m_path + suffix).c_str());
    m_rebuilt = true;
}

MediaCache::Rows MediaCache::load()
{
    Rows rows;
    if (!open()) {
        discard("cannot be opened or is of another schema");
        if (!open()) {
            close();
            return rows;
        }
    }
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(m_db,
                                "SELECT path,size,mtime,audio,album,albumartist,artist,composer,"
                                "genre,compilation FROM files ORDER BY path",
                                -1, &s, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(s)) == SQLITE_ROW) {
        const auto* path = static_cast<const char*>(sqlite3_column_blob(s, 0));
        Row row;
        row.size = sqlite3_column_int64(s, 1);
        row.mtimeNs = sqlite3_column_int64(s, 2);
        row.audio = sqlite3_column_int(s, 3) != 0;
        row.tags = MediaTags{columnText(s, 4), columnText(s, 5), columnText(s, 6),
                             columnText(s, 7), columnText(s, 8), sqlite3_column_int(s, 9) != 0};
        rows.emplace_back(
            std::string(path ? path : "", static_cast<std::size_t>(sqlite3_column_bytes(s, 0))),
            std::move(row));
        rc = SQLITE_OK;
    }
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE) {
        // Half a cache is not trusted: every file is read again.
        rows.clear();
        discard("cannot be read whole");
        if (!open())
            close();
    }
    return rows;
}

bool MediaCache::begin()
{
    if (!m_inTransaction)
        m_inTransaction = exec("BEGIN");
    return m_inTransaction;
}

void MediaCache::put(const std::string& path, const Row& row)
{
    if (!m_db || !begin())
        return;
    sqlite3_reset(m_put);
    sqlite3_bind_blob(m_put, 1, path.data(), static_cast<int>(path.size()), SQLITE_STATIC);
    sqlite3_bind_int64(m_put, 2, row.size);
    sqlite3_bind_int64(m_put, 3, row.mtimeNs);
    sqlite3_bind_int(m_put, 4, row.audio ? 1 : 0);
    bindText(m_put, 5, row.tags.album);
    bindText(m_put, 6, row.tags.albumArtist);
    bindText(m_put, 7, row.tags.artist);
    bindText(m_put, 8, row.tags.composer);
    bindText(m_put, 9, row.tags.genre);
    sqlite3_bind_int(m_put, 10, row.tags.compilation ? 1 : 0);
    const int rc = sqlite3_step(m_put);
    sqlite3_clear_bindings(m_put);
    if (rc != SQLITE_DONE) {
        discard("cannot be written");
        return;
    }
    if (++m_queued >= kBatch)
        commit();
}

void MediaCache::remove(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (!m_db || !begin())
            return;
        sqlite3_reset(m_remove);
        sqlite3_bind_blob(m_remove, 1, path.data(), static_cast<int>(path.size()),
                          SQLITE_TRANSIENT);
        if (sqlite3_step(m_remove) != SQLITE_DONE) {
            discard("cannot be written");
            return;
        }
        if (++m_queued >= kBatch)
            commit();
    }
}

void MediaCache::commit()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    m_queued = 0;
    if (!exec("COMMIT"))
        discard("cannot be written");
}
