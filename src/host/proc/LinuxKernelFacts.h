#pragma once

#include "host/KernelFacts.h"

#include <string>

// KernelFacts from /proc, /sys and /etc under a root directory. With the real
// root "/" the calls that have no file (uname, getloadavg, sysconf) ask the C
// library; under a fixture root they read the matching /proc/sys/kernel and
// /proc/loadavg files instead, so tests never see this machine's values.
class LinuxKernelFacts : public KernelFacts {
public:
    explicit LinuxKernelFacts(std::string root = "/");

    std::optional<KernelIdentity> identity() override;
    std::optional<std::array<double, 3>> loadAverages() override;
    std::optional<CpuTicks> cpuTicks() override;
    std::optional<uint64_t> bootTime() override;
    std::optional<MemInfo> memInfo() override;
    std::optional<VmStat> vmStat() override;
    uint64_t pageSize() override;
    std::optional<uint64_t> cpuFrequencyHz() override;
    CacheSizes caches() override;
    std::optional<std::string> model() override;
    OsRelease osRelease() override;
    std::optional<std::string> prettyHostname() override;
    std::optional<uint32_t> onlineCpus() override;

private:
    std::string path(const char* absolute) const;
    bool realRoot() const { return m_realRoot; }

    std::string m_root;
    bool m_realRoot;
};
