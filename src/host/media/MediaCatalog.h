#pragma once

#include "host/media/MediaTags.h"
#include "host/MediaLibrary.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What one scan of the music folder found, and the nine counts over it.
// Podcasts are files with the genre "Podcast" or below a folder named
// "Podcasts"; audiobooks are the rest with an .m4b name, the genre
// "Audiobook" or below a folder named "Audiobooks"; every other audio file is
// music. Genre and folder names compare without regard to ASCII case.
class MediaCatalog {
public:
    enum class Kind { Music, Podcast, Audiobook };

    // An audio file by its path below the music folder, and its tags.
    void add(std::string_view relativePath, MediaTags tags);
    void addPlaylist() { ++m_playlists; }

    std::size_t size() const { return m_entries.size(); }
    static Kind kindOf(std::string_view relativePath, const MediaTags& tags);

    // Songs count music files. Albums are distinct (album artist, else
    // artist; album) pairs of music files with an album title; compilations
    // the albums among them with a track flagged as part of a compilation.
    // Artists (track artists), composers and genres are distinct non-empty
    // values over music. Podcasts and audiobooks count shows and books: the
    // album title, else the folder the file is in. All nine in one pass,
    // indexed by MediaQuery.
    std::array<int32_t, kMediaQueryCount> counts() const;

private:
    struct Item {
        Kind kind;
        MediaTags tags;
        std::string show; // podcasts and audiobooks: the show or book
    };
    std::vector<Item> m_entries;
    int32_t m_playlists = 0;
};
