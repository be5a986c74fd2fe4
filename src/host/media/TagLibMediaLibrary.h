#pragma once

#include "host/MediaLibrary.h"

#include <QString>

#include <string>

class Defaults;

// The music folder read with TagLib, through a tag cache in SQLite. Each
// count walks the folder; only files that are new or whose size or
// modification time changed are opened, files gone from the folder leave the
// cache. A folder that does not exist counts as empty.
class TagLibMediaLibrary : public MediaLibrary {
public:
    // The settings key that overrides the standard music folder.
    static constexpr const char* kMusicFolderKey = "MusicFolder";

    // cachePath empty means no cache.
    explicit TagLibMediaLibrary(std::string cachePath);

    // The setting if it is set, else the standard music location (bytes).
    static std::string musicFolder(const Defaults& defaults);
    // welvane/media.sqlite in the XDG cache folder.
    static std::string standardCachePath();

    bool countAll(const std::string& folder, std::stop_token stop, const Counted& counted) override;

    // What the last count did, for tests and benchmarks.
    struct Scan {
        int opened = 0;  // files handed to TagLib
        int cached = 0;  // files answered from the cache
        int removed = 0; // cache rows dropped for files gone
        bool cacheRebuilt = false;
    };
    Scan lastScan() const { return m_last; }

private:
    std::string m_cachePath;
    Scan m_last;
};
