#include "host/media/TagLibMediaLibrary.h"

#include "host/HostLog.h"
#include "host/media/MediaCache.h"
#include "host/media/MediaCatalog.h"
#include "host/media/MediaFolderWalk.h"
#include "host/media/TagReader.h"
#include "host/settings/Defaults.h"

#include <QFile>
#include <QStandardPaths>

#include <atomic>

TagLibMediaLibrary::TagLibMediaLibrary(std::string cachePath) : m_cachePath(std::move(cachePath)) {}

std::string TagLibMediaLibrary::musicFolder(const Defaults& defaults)
{
    const QString set = defaults.stringForKey(QString::fromLatin1(kMusicFolderKey));
    const QString folder =
        set.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::MusicLocation) : set;
    return QFile::encodeName(folder).toStdString();
}

std::string TagLibMediaLibrary::standardCachePath()
{
    return QFile::encodeName(
               QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
               QStringLiteral("/welvane/media.sqlite"))
        .toStdString();
}

bool TagLibMediaLibrary::countAll(const std::string& folder, std::stop_token stop,
                                  const Counted& counted)
{
    m_last = {};
    if (stop.stop_requested())
        return false; // superseded before it began: not even the cache is read
    std::string root = folder;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    MediaCache cache(m_cachePath);
    MediaCache::Rows rows = cache.load();
    m_last.cacheRebuilt = cache.rebuilt();

    MediaCatalog catalog;
    std::string path = root + '/';
    MediaFolderWalk walk(
        [](std::string_view name) {
            return TagReader::isAudioName(name) || TagReader::isPlaylistName(name);
        },
        [&](const MediaFolderWalk::File& f) {
            const std::string_view name =
                std::string_view(f.relativePath).substr(f.relativePath.rfind('/') + 1);
            if (TagReader::isPlaylistName(name)) {
                catalog.addPlaylist();
                return;
            }
            path.resize(root.size() + 1);
            path += f.relativePath;
            // Rows of files seen leave the map: what stays there is gone.
            auto known = rows.extract(path);
            MediaCache::Row row;
            if (known && known.mapped().size == f.size && known.mapped().mtimeNs == f.mtimeNs) {
                row = std::move(known.mapped());
                ++m_last.cached;
            } else {
                std::optional<MediaTags> tags = TagReader::read(path);
                row = MediaCache::Row{f.size, f.mtimeNs, tags.has_value(),
                                      tags.value_or(MediaTags())};
                cache.put(path, row);
                ++m_last.opened;
            }
            if (row.audio)
                catalog.add(f.relativePath, std::move(row.tags));
        });
    const bool walked = walk.walk(root, stop);
    if (walk.unreadableFolders() > 0) {
        static std::atomic_bool warned{false};
        if (!warned.exchange(true))
            qCWarning(lcHost) << "media scan skipped" << walk.unreadableFolders()
                              << "folders it cannot read";
    }
    if (stop.stop_requested()) {
        cache.commit(); // keep the tags read so far; the counts are dropped
        return false;
    }
    // Files gone from the folder (or from another music folder) leave the
    // cache; a folder that cannot be opened (a drive not mounted) keeps it.
    std::vector<std::string> gone;
    if (walked) {
        for (auto& [path, row] : rows)
            gone.push_back(path);
    } else {
        qCDebug(lcHost) << "music folder" << root.c_str() << "cannot be opened: counted empty";
    }
    cache.remove(gone);
    cache.commit();
    m_last.removed = static_cast<int>(gone.size());

    const std::array<int32_t, kMediaQueryCount> counts = catalog.counts();
    for (int q = 0; q < kMediaQueryCount; ++q) {
        if (stop.stop_requested())
            return false;
        counted(static_cast<MediaQuery>(q), counts[q]);
    }
    return true;
}
