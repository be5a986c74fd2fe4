#include "screens/memory/FreeMemoryRun.h"

#include <algorithm>

namespace {

uint64_t thresholdBytes(double freeMB)
{
    const double bytes = freeMB * 1048576.0;
    return bytes > 0 ? static_cast<uint64_t>(bytes) : 0;
}

} // namespace

FreeMemoryRun::Plan FreeMemoryRun::plan(uint64_t physmem, uint64_t pageSize)
{
    Plan p;
    // In 64 bits: a machine of many GiB would overflow a 32-bit size.
    p.size = static_cast<uint64_t>(static_cast<double>(physmem) * 0.35);
    if (p.size < kSmallLimit)
        p.size = kMinSize;
    else if (p.size >= kMaxSize)
        p.size = kMaxSize;
    const uint64_t page = std::max<uint64_t>(pageSize, 1);
    // 4 % of the size in single precision, as whole pages of the real size:
    // a fixed 4096 would make the figures four or sixteen times too small on
    // machines with 16 or 64 KiB pages.
    const float bytes = static_cast<float>(p.size) * 0.4f / 10.0f;
    p.step = std::max<uint64_t>(1, static_cast<uint64_t>(bytes) / page);
    p.chunk = p.step * page;
    return p;
}

FreeMemoryRun::Result FreeMemoryRun::run(const Plan& plan, uint64_t pageSize, double freeMB,
                                         const Host& host, std::stop_token stop)
{
    Result result;
    const uint64_t page = std::max<uint64_t>(pageSize, 1);
    const auto started = host.now();
    auto* buffer = host.allocate(plan.size);
    if (!buffer) {
        result.end = End::AllocationFailed;
        return result;
    }
    result.passes = 1;
    uint64_t threshold = thresholdBytes(freeMB);
    uint64_t offset = 0;
    while (offset < plan.size) {
        // volatile: the touch is the point, it must not be optimised away.
        static_cast<volatile std::byte*>(buffer)[offset] = std::byte{0x61};
        if (offset <= threshold || offset % plan.chunk != 0) {
            offset += page;
            continue;
        }
        const bool awake = host.sleep(kPause, stop);
        if (host.fakeFree)
            host.fakeFree(plan.step);
        host.release(buffer, plan.size);
        buffer = nullptr;
        if (!awake || stop.stop_requested()) {
            result.end = End::Stopped;
            return result;
        }
        const double measured = host.measure();
        if (result.passes >= kMaxPasses || host.now() - started >= kMaxDuration) {
            result.end = End::Bounded;
            return result;
        }
        buffer = host.allocate(plan.size);
        if (!buffer) {
            result.end = End::AllocationFailed;
            return result;
        }
        ++result.passes;
        threshold = thresholdBytes(measured);
        offset = 0;
    }
    host.release(buffer, plan.size);
    return result;
}
