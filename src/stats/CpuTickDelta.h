#pragma once

#include "host/KernelFacts.h"

#include <cstdint>

// Tick counters cut to 32 bits, as the load figures are kept, and the
// interval between two readings with modulo-2^32 differences, so a counter
// that wraps still gives the right count.
struct CpuTicks32 {
    uint32_t user = 0, nice = 0, system = 0, idle = 0, sum = 0;

    static CpuTicks32 from(const CpuTicks& ticks)
    {
        CpuTicks32 t{static_cast<uint32_t>(ticks.user), static_cast<uint32_t>(ticks.nice),
                     static_cast<uint32_t>(ticks.system), static_cast<uint32_t>(ticks.idle), 0};
        t.sum = t.nice + t.user + t.system + t.idle;
        return t;
    }

    // Differences since prev; the sum field is the difference of the sums.
    CpuTicks32 since(const CpuTicks32& prev) const
    {
        return {static_cast<uint32_t>(user - prev.user), static_cast<uint32_t>(nice - prev.nice),
                static_cast<uint32_t>(system - prev.system),
                static_cast<uint32_t>(idle - prev.idle), static_cast<uint32_t>(sum - prev.sum)};
    }
};
