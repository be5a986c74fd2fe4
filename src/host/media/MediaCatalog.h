#pragma once

#include "host/media/MediaEntry.h"
#include "host/MediaLibrary.h"

#include <cstdint>
#include <vector>

// What one scan of the music folder found, and the nine counts over it.
// Podcasts are files with the genre "Podcast" or below a folder named
// "Podcasts"; audiobooks are the rest with an .m4b name, the genre
// "Audiobook" or below a folder named "Audiobooks"; every other audio file is
// music. Genre and folder names compare without regard to ASCII case.
class MediaCatalog {
public:
    enum class Kind { Music, Podcast, Audiobook };

    void add(MediaEntry entry);
    void addPlaylist() { ++m_playlists; }

    std::size_t size() const { return m_entries.size(); }
    static Kind kindOf(const MediaEntry& entry);

    // Songs count music files. Albums are distinct (album artist, else
    // artist; album) pairs of music files with an album title; compilations
    // the albums among them with a track flagged as part of a compilation.
    // Artists (track artists), composers and genres are distinct non-empty
    // values over music. Podcasts and audiobooks count shows and books: the
    // album title, else the folder the file is in.
    int32_t count(MediaQuery query) const;

private:
    std::vector<MediaEntry> m_entries;
    int32_t m_playlists = 0;
};
