#pragma once

#include <cstdint>

// MPEG audio frame headers, read by hand: a tags-only open of an .mp3 never
// looks at the audio, so random bytes would pass for an untagged song.
class MpegFrames {
public:
    // The length in bytes of the frame whose 4-byte header is given; 0 when
    // it is no valid header (no sync, reserved version or layer, free or bad
    // bit rate, reserved sample rate).
    static int frameLength(const uint8_t* header);
    // Whether two headers describe the same stream (version, layer, rate).
    static bool sameStream(const uint8_t* a, const uint8_t* b);
};
