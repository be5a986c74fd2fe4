#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The Memory page's arithmetic and texts, apart from its widgets.
class MemoryFormat {
public:
    // The kinds in bar order.
    enum Kind { Wired, Active, Inactive, Other, Free };
    static constexpr int kKinds = 5;

    // Megabytes of each kind; "other" is what the four counted kinds leave
    // of the total, negative when they add up to more.
    struct Figures {
        float total = 0;
        std::array<float, kKinds> value{};
        // Percent of the total; 0 when the total is unknown.
        float share(Kind kind) const;
    };

    static Figures figures(float total, float active, float inactive, float wired, float free);
    // pages x pageSize in MB, computed in double and kept as float.
    static float megabytes(uint64_t pages, uint64_t pageSize);

    // "%.1f MB" and "%.1f %%" of the legend.
    static QString megabytesText(float mb);
    static QString shareText(float percent);
    // "Total Memory": "%.1f MB" of the bytes; "N/A" when unknown.
    static QString totalText(std::optional<uint64_t> physmem);
    // "Page Size": whole KiB.
    static QString pageSizeText(uint64_t pageSize);
    // Paging counters: unsigned 64-bit, "N/A" where Linux keeps none.
    static QString counterText(std::optional<uint64_t> counter);
};
