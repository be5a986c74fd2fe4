#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>

// The free-memory run: allocates a large buffer, touches one byte per page
// from its start, and once it is one chunk past the memory that was free it
// pauses, gives the buffer back, measures again and starts over. It ends with
// the first pass that reaches the buffer's end, a failed allocation, a stop
// request, or its bound of passes or time. Everything it touches the machine
// through comes in its Host, so it runs alike on a worker and in a test.
class FreeMemoryRun {
public:
    static constexpr int kMaxPasses = 30;
    static constexpr std::chrono::seconds kMaxDuration{60};
    static constexpr std::chrono::milliseconds kPause{400};
    static constexpr uint64_t kMinSize = 25ull << 20;
    static constexpr uint64_t kSmallLimit = 50ull << 20;
    static constexpr uint64_t kMaxSize = 200ull << 20;

    struct Plan {
        uint64_t size = 0;  // bytes of the buffer
        uint64_t step = 0;  // whole pages, about 4 % of the size
        uint64_t chunk = 0; // step pages in bytes
    };
    // A third and a bit of the physical memory, within 25 and 200 MiB; the
    // chunk is a whole number of real pages so the pause points are met.
    static Plan plan(uint64_t physmem, uint64_t pageSize);

    struct Host {
        // nullptr when the memory cannot be had.
        std::function<std::byte*(std::size_t)> allocate;
        std::function<void(std::byte*, std::size_t)> release;
        // Waits; false when a stop was requested meanwhile.
        std::function<bool(std::chrono::milliseconds, std::stop_token)> sleep;
        // Measures again; answers the free memory in MB.
        std::function<double()> measure;
        // Demo mode: tells the collector that this many pages came free.
        std::function<void(uint64_t pages)> fakeFree;
        std::function<std::chrono::steady_clock::time_point()> now;
    };

    enum class End { Complete, AllocationFailed, Bounded, Stopped };
    struct Result {
        End end = End::Complete;
        int passes = 0;
    };

    // freeMB is the free memory measured just before the run.
    static Result run(const Plan& plan, uint64_t pageSize, double freeMB, const Host& host,
                      std::stop_token stop = {});
};
