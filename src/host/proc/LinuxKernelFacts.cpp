#include "host/proc/LinuxKernelFacts.h"

#include "host/DemoMode.h"
#include "host/system/HostFile.h"
#include "host/proc/ProcParsers.h"

#include <cstdlib>
#include <sys/utsname.h>
#include <unistd.h>

namespace {
// Under a fixture root there is no sysconf to ask; this is the page size of
// every machine the fixtures were taken from.
constexpr uint64_t kFixturePageSize = 4096;
} // namespace

LinuxKernelFacts::LinuxKernelFacts(std::string root)
    : m_root(std::move(root)), m_realRoot(m_root == "/" || m_root.empty())
{
}

std::string LinuxKernelFacts::path(const char* absolute) const
{
    return hostfile::join(m_root, absolute);
}

std::optional<KernelIdentity> LinuxKernelFacts::identity()
{
    KernelIdentity id;
    if (realRoot()) {
        utsname u{};
        if (::uname(&u) != 0)
            return std::nullopt;
        id = {u.sysname, u.release, u.version, u.nodename, u.machine};
    } else {
        auto ostype = hostfile::readLine(path("/proc/sys/kernel/ostype"));
        auto release = hostfile::readLine(path("/proc/sys/kernel/osrelease"));
        auto version = hostfile::readLine(path("/proc/sys/kernel/version"));
        auto hostname = hostfile::readLine(path("/proc/sys/kernel/hostname"));
        auto arch = hostfile::readLine(path("/proc/sys/kernel/arch"));
        if (!ostype && !release && !version && !hostname && !arch)
            return std::nullopt;
        id = {ostype.value_or(""), release.value_or(""), version.value_or(""),
              hostname.value_or(""), arch.value_or("")};
    }
    if (DemoMode::enabled())
        id.machine = DemoMode::kMachine;
    return id;
}

std::optional<std::array<double, 3>> LinuxKernelFacts::loadAverages()
{
    std::array<double, 3> avg{};
    if (realRoot()) {
        if (::getloadavg(avg.data(), 3) != 3)
            return std::nullopt;
        return avg;
    }
    const auto text = hostfile::readLine(path("/proc/loadavg"));
    if (!text)
        return std::nullopt;
    const char* p = text->c_str();
    for (double& v : avg) {
        char* end = nullptr;
        v = std::strtod(p, &end);
        if (end == p)
            return std::nullopt;
        p = end;
    }
    return avg;
}

std::optional<CpuTicks> LinuxKernelFacts::cpuTicks()
{
    // The cpu line is the first one; 4 KiB holds it on any machine.
    const auto text = hostfile::read(path("/proc/stat"), 4096);
    return text ? procparse::cpuLine(*text) : std::nullopt;
}

std::optional<uint64_t> LinuxKernelFacts::bootTime()
{
    const auto text = hostfile::read(path("/proc/stat"));
    return text ? procparse::bootTime(*text) : std::nullopt;
}

std::optional<MemInfo> LinuxKernelFacts::memInfo()
{
    const auto text = hostfile::read(path("/proc/meminfo"));
    if (!text)
        return std::nullopt;
    return procparse::meminfo(*text);
}

std::optional<VmStat> LinuxKernelFacts::vmStat()
{
    const auto text = hostfile::read(path("/proc/vmstat"));
    if (!text)
        return std::nullopt;
    return procparse::vmstat(*text);
}

uint64_t LinuxKernelFacts::pageSize()
{
    if (!realRoot())
        return kFixturePageSize;
    const long size = ::sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<uint64_t>(size) : kFixturePageSize;
}

std::optional<uint64_t> LinuxKernelFacts::cpuFrequencyHz()
{
    if (auto khz =
            hostfile::readNumber(path("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq")))
        return *khz * 1000;
    const auto text = hostfile::read(path("/proc/cpuinfo"));
    return text ? procparse::cpuinfoHz(*text) : std::nullopt;
}

CacheSizes LinuxKernelFacts::caches()
{
    CacheSizes c;
    const std::string dir = path("/sys/devices/system/cpu/cpu0/cache");
    for (const auto& name : hostfile::list(dir)) {
        if (name.rfind("index", 0) != 0)
            continue;
        const std::string base = dir + "/" + name + "/";
        const auto level = hostfile::readNumber(base + "level");
        const auto type = hostfile::readLine(base + "type");
        const auto sizeText = hostfile::readLine(base + "size");
        const auto size = sizeText ? procparse::cacheSize(*sizeText) : std::nullopt;
        if (!c.line)
            c.line = hostfile::readNumber(base + "coherency_line_size");
        if (!level || !type || !size)
            continue;
        if (*level == 1 && *type == "Instruction")
            c.l1i = size;
        else if (*level == 1 && *type == "Data")
            c.l1d = size;
        else if (*level == 2 && !c.l2)
            c.l2 = size;
    }
    if (realRoot()) {
        // Some virtual machines and older kernels have no cache folder.
        const auto conf = [](int name) -> std::optional<uint64_t> {
            const long v = ::sysconf(name);
            return v > 0 ? std::optional<uint64_t>(static_cast<uint64_t>(v)) : std::nullopt;
        };
        if (!c.line)
            c.line = conf(_SC_LEVEL1_DCACHE_LINESIZE);
        if (!c.l1i)
            c.l1i = conf(_SC_LEVEL1_ICACHE_SIZE);
        if (!c.l1d)
            c.l1d = conf(_SC_LEVEL1_DCACHE_SIZE);
        if (!c.l2)
            c.l2 = conf(_SC_LEVEL2_CACHE_SIZE);
    }
    return c;
}

std::optional<std::string> LinuxKernelFacts::model()
{
    auto product = hostfile::readLine(path("/sys/class/dmi/id/product_name"));
    if (product && !product->empty())
        return product;
    auto tree = hostfile::readLine(path("/proc/device-tree/model"));
    if (tree && !tree->empty())
        return tree;
    return std::nullopt;
}

OsRelease LinuxKernelFacts::osRelease()
{
    auto text = hostfile::read(path("/etc/os-release"));
    if (!text) // the file may live only under /usr/lib
        text = hostfile::read(path("/usr/lib/os-release"));
    OsRelease r;
    if (!text)
        return r;
    const auto kv = procparse::keyValues(*text);
    const auto get = [&](const char* key) -> std::optional<std::string> {
        const auto it = kv.find(key);
        return it == kv.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    r.name = get("NAME");
    r.version_id = get("VERSION_ID");
    r.build_id = get("BUILD_ID");
    return r;
}

std::optional<std::string> LinuxKernelFacts::prettyHostname()
{
    const auto text = hostfile::read(path("/etc/machine-info"));
    if (!text)
        return std::nullopt;
    const auto kv = procparse::keyValues(*text);
    const auto it = kv.find("PRETTY_HOSTNAME");
    if (it == kv.end() || it->second.empty())
        return std::nullopt;
    return it->second;
}

std::optional<uint32_t> LinuxKernelFacts::onlineCpus()
{
    if (auto text = hostfile::readLine(path("/sys/devices/system/cpu/online")))
        if (auto n = procparse::cpuListCount(*text))
            return n;
    if (realRoot()) {
        const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
        if (n > 0)
            return static_cast<uint32_t>(n);
    }
    return std::nullopt;
}
