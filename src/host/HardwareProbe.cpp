#include "host/HardwareProbe.h"

#include <cstdio>

std::string HardwareProbe::megapixelText(uint64_t pixels)
{
    // Tenths of a megapixel, rounded half up: 307 200 px -> "0.3 MP".
    const uint64_t tenths = (pixels + 50000) / 100000;
    char buf[48];
    if (tenths % 10 == 0)
        std::snprintf(buf, sizeof buf, "%llu MP", static_cast<unsigned long long>(tenths / 10));
    else
        std::snprintf(buf, sizeof buf, "%llu.%llu MP", static_cast<unsigned long long>(tenths / 10),
                      static_cast<unsigned long long>(tenths % 10));
    return buf;
}
