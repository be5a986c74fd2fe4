#pragma once

#include "host/media/MediaTags.h"

#include <optional>
#include <string>
#include <string_view>

// Reads the tags of one audio file with TagLib, tags only (no audio
// properties). A file TagLib cannot open is no audio file. So is an MPEG
// file in which no two frames follow each other (random bytes with an .mp3
// name would otherwise open as an untagged song), and a WAV or AIFF file
// without tags (a sound effect, a recording).
class TagReader {
public:
    // Whether a name is one TagLib may open as audio (by its extension).
    static bool isAudioName(std::string_view name);
    // Whether a name is a playlist: .m3u, .m3u8, .pls or .xspf.
    static bool isPlaylistName(std::string_view name);

    static std::optional<MediaTags> read(const std::string& path);
};
