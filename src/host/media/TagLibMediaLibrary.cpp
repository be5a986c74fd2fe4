#include "host/media/TagLibMediaLibrary.h"

#include "host/HostLog.h"
#include "host/media/MediaCache.h"
#include "host/media/MediaCatalog.h"
#include "host/media/MediaFolderWalk.h"
#include "host/media/TagReader.h"
#include "host/settings/Defaults.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>
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
    MediaCatalog catalog;
    std::vector<MediaFolderWalk::File> files;
    MediaFolderWalk walk(
        [](std::string_view name) {
            return TagReader::isAudioName(name) || TagReader::isPlaylistName(name);
        },
        [&](MediaFolderWalk::File f) {
            const std::size_t slash = f.relativePath.rfind('/');
            if (TagReader::isPlaylistName(std::string_view(f.relativePath).substr(slash + 1)))
                catalog.addPlaylist();
            else
                files.push_back(std::move(f));
        });
    const bool walked = walk.walk(root, stop);
    if (walk.unreadableFolders() > 0) {
        static std::atomic_bool warned{false};
        if (!warned.exchange(true))
            qCWarning(lcHost) << "media scan skipped" << walk.unreadableFolders()
                              << "folders it cannot read";
    }
    if (stop.stop_requested())
        return false;
    if (!walked)
        qCDebug(lcHost) << "music folder" << root.c_str() << "cannot be opened: counted empty";

    MediaCache cache(m_cachePath);
    MediaCache::Rows rows = cache.load();
    m_last.cacheRebuilt = cache.rebuilt();
    // Files and cache rows both in path order, matched in one sweep: a row
    // passed over is a file gone (or of another music folder).
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.relativePath < b.relativePath; });
    std::vector<std::string> gone;
    auto row = rows.begin();
    std::string path = root + '/';
    for (const MediaFolderWalk::File& f : files) {
        if (stop.stop_requested()) {
            cache.commit(); // keep the tags read so far; the counts are dropped
            return false;
        }
        path.resize(root.size() + 1);
        path += f.relativePath;
        for (; row != rows.end() && row->first < path; ++row)
            gone.push_back(std::move(row->first));
        const bool known = row != rows.end() && row->first == path;
        if (known && row->second.size == f.size && row->second.mtimeNs == f.mtimeNs) {
            if (row->second.audio)
                catalog.add(f.relativePath, std::move(row->second.tags));
            ++m_last.cached;
        } else {
            std::optional<MediaTags> tags = TagReader::read(path);
            cache.put(path, MediaCache::Row{f.size, f.mtimeNs, tags.has_value(),
                                            tags.value_or(MediaTags())});
            if (tags)
                catalog.add(f.relativePath, std::move(*tags));
            ++m_last.opened;
        }
        if (known)
            ++row;
    }
    // A folder that cannot be opened (a drive not mounted) keeps its rows.
    for (; walked && row != rows.end(); ++row)
        gone.push_back(std::move(row->first));
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
