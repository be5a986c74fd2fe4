#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// What the kernel and the OS files tell about this machine. Every field the
// host could not read is nullopt (strings: nullopt too), never a made-up value.

struct KernelIdentity {
    std::string ostype;  // "Linux"
    std::string release; // "6.1.0-18-amd64"
    std::string version; // "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)"
    std::string hostname;
    std::string machine; // "x86_64"
};

// Cumulative clock ticks of the "cpu" line of /proc/stat, already folded into
// the four states the collectors show.
struct CpuTicks {
    uint64_t user = 0;
    uint64_t nice = 0;
    uint64_t system = 0; // system + irq + softirq + steal
    uint64_t idle = 0;   // idle + iowait
};

// /proc/meminfo, converted to bytes.
struct MemInfo {
    std::optional<uint64_t> total, free, available, active, inactive;
    std::optional<uint64_t> unevictable, sunreclaim, kernel_stack, page_tables;
};

// The /proc/vmstat counters that have a meaning for the memory page.
struct VmStat {
    std::optional<uint64_t> pgpgin, pgpgout; // KiB
    std::optional<uint64_t> pgfault, pgactivate, pglazyfreed;
};

struct CacheSizes {
    std::optional<uint64_t> line, l1i, l1d, l2;
};

struct OsRelease {
    std::optional<std::string> name, version_id, build_id;
};

class KernelFacts {
public:
    virtual ~KernelFacts() = default;

    virtual std::optional<KernelIdentity> identity() = 0;
    virtual std::optional<std::array<double, 3>> loadAverages() = 0;
    virtual std::optional<CpuTicks> cpuTicks() = 0;
    virtual std::optional<uint64_t> bootTime() = 0;
    virtual std::optional<MemInfo> memInfo() = 0;
    virtual std::optional<VmStat> vmStat() = 0;
    virtual uint64_t pageSize() = 0;
    virtual std::optional<uint64_t> cpuFrequencyHz() = 0;
    virtual CacheSizes caches() = 0;
    // DMI product name, else the device-tree model.
    virtual std::optional<std::string> model() = 0;
    virtual OsRelease osRelease() = 0;
    virtual std::optional<std::string> prettyHostname() = 0;
    virtual std::optional<uint32_t> onlineCpus() = 0;
};
