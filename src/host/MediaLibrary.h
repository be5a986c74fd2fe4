#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

// The nine kinds the File Statistics page counts, in its row order.
enum class MediaQuery {
    Songs,
    Albums,
    Artists,
    Podcasts,
    Audiobooks,
    Composers,
    Genres,
    Playlists,
    Compilations
};
inline constexpr int kMediaQueryCount = 9;

// The user's media library as counts. Counting may read a whole folder of
// files: it blocks, so it runs on a worker, never on the UI thread.
class MediaLibrary {
public:
    using Counted = std::function<void(MediaQuery, int32_t)>;

    virtual ~MediaLibrary() = default;

    // Runs the nine queries over the library in folder (path bytes) in row
    // order and calls counted after each, on the calling thread. Once stop
    // is requested no further count is reported and the answer is false;
    // true when all nine were reported.
    virtual bool countAll(const std::string& folder, std::stop_token stop,
                          const Counted& counted) = 0;
};
