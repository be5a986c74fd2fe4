#include "host/media/MpegFrames.h"

namespace {

// kbit/s by [MPEG-1 or not][layer 1..3 - 1][index].
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};

// Hz by [version bits][index]; version 1 is reserved.
constexpr int kRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

} // namespace

int MpegFrames::frameLength(const uint8_t* h)
{
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return 0;
    const int version = (h[1] >> 3) & 3;
    const int layer = 4 - ((h[1] >> 1) & 3); // 1, 2, 3; 4 is reserved
    const int bitrateIndex = h[2] >> 4;
    const int rateIndex = (h[2] >> 2) & 3;
    if (version == 1 || layer == 4 || rateIndex == 3)
        return 0;
    const bool mpeg1 = version == 3;
    const int kbps = kBitrates[mpeg1 ? 0 : 1][layer - 1][bitrateIndex];
    const int rate = kRates[version][rateIndex];
    if (kbps == 0 || rate == 0)
        return 0;
    const int padding = (h[2] >> 1) & 1;
    if (layer == 1)
        return (12 * kbps * 1000 / rate + padding) * 4;
    const int perSecond = layer == 3 && !mpeg1 ? 72 : 144;
    return perSecond * kbps * 1000 / rate + padding;
}

bool MpegFrames::sameStream(const uint8_t* a, const uint8_t* b)
{
    return (a[1] & 0xFE) == (b[1] & 0xFE) && (a[2] & 0x0C) == (b[2] & 0x0C);
}
