#pragma once

#include <cstdint>
#include <string>

// One audio file of the library as its tags describe it. Texts are UTF-8,
// cut at the first NUL; an absent tag is an empty text.
struct MediaTags {
    std::string album;
    std::string albumArtist;
    std::string artist;
    std::string composer;
    std::string genre;
    bool compilation = false;

    bool operator==(const MediaTags&) const = default;
};
