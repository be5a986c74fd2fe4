#pragma once
// Hand-set stand-ins for the host services the collectors read.

#include "host/Battery.h"
#include "host/DeviceIdentity.h"
#include "host/HardwareProbe.h"
#include "host/IdleInhibitor.h"
#include "host/KernelFacts.h"
#include "host/Modem.h"

namespace fakes {

struct Kernel : KernelFacts {
    std::optional<KernelIdentity> id = KernelIdentity{"Linux", "6.1.0", "#42 SMP", "box", "x86_64"};
    std::optional<std::array<double, 3>> load;
    std::optional<CpuTicks> ticks;
    std::optional<uint64_t> btime = 1700000000;
    std::optional<MemInfo> mem;
    std::optional<VmStat> vm;
    uint64_t page = 4096;
    std::optional<uint64_t> hz;
    CacheSizes cache;
    OsRelease os{std::string("Debian GNU/Linux"), std::string("12"), std::nullopt};

    std::optional<KernelIdentity> identity() override { return id; }
    std::optional<std::array<double, 3>> loadAverages() override { return load; }
    std::optional<CpuTicks> cpuTicks() override { return ticks; }
    std::optional<uint64_t> bootTime() override { return btime; }
    std::optional<MemInfo> memInfo() override { return mem; }
    std::optional<VmStat> vmStat() override { return vm; }
    uint64_t pageSize() override { return page; }
    std::optional<uint64_t> cpuFrequencyHz() override { return hz; }
    CacheSizes caches() override { return cache; }
    std::optional<std::string> model() override { return std::nullopt; }
    OsRelease osRelease() override { return os; }
    std::optional<std::string> prettyHostname() override { return std::nullopt; }
    std::optional<uint32_t> onlineCpus() override { return 4; }
};

struct Identity : DeviceIdentity {
    std::string name() override { return "Ana's box"; }
    std::string systemName() override { return "Debian GNU/Linux"; }
    std::string systemVersion() override { return "12"; }
    std::optional<std::string> uniqueIdentifier() override { return "0123abcd"; }
};

struct Probe : HardwareProbe {
    HardwareFacts facts;
    int calls = 0;
    HardwareFacts probe() override
    {
        ++calls;
        return facts;
    }
};

struct FakeModem : Modem {
    bool present = false;
    std::optional<QString> carrier;
    bool available() override { return present; }
    std::optional<QString> carrierName() override { return carrier; }
};

struct FakeBattery : Battery {
    float lvl = -1.0f;
    State st = StateUnknown;
    bool monitoring = false;
    float level() override { return lvl; }
    State state() override { return st; }
    void setMonitoringEnabled(bool on) override { monitoring = on; }
    bool monitoringEnabled() const override { return monitoring; }
};

struct Inhibitor : IdleInhibitor {
    bool disabled = false;
    int calls = 0;
    void setIdleTimerDisabled(bool d) override
    {
        disabled = d;
        ++calls;
    }
    bool idleTimerDisabled() const override { return disabled; }
};

} // namespace fakes
