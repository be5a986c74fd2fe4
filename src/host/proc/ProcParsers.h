#pragma once

#include "host/KernelFacts.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

// Pure parsers of the text files under /proc, /sys and /etc. They take the
// file's text and return plain values, so tests feed them captured files.
namespace procparse {

std::optional<CpuTicks> cpuLine(std::string_view procStat);
std::optional<uint64_t> bootTime(std::string_view procStat);
MemInfo meminfo(std::string_view text);
VmStat vmstat(std::string_view text);

// KEY=value files (os-release, machine-info): quotes and backslash escapes
// are undone; lines that do not parse are skipped.
std::map<std::string, std::string> keyValues(std::string_view text);

// First "key : value" line of /proc/cpuinfo with that key.
std::optional<std::string> cpuinfoField(std::string_view text, std::string_view key);
// "cpu MHz" of the first processor, in Hz.
std::optional<uint64_t> cpuinfoHz(std::string_view text);

// Number of CPUs in a list such as "0-3,6,8-9".
std::optional<uint32_t> cpuListCount(std::string_view text);
// A sysfs cache size such as "48K" or "1M", in bytes.
std::optional<uint64_t> cacheSize(std::string_view text);
// The build number after '#' in the kernel version string ("#12 SMP ..." -> 12).
std::optional<uint64_t> kernelBuild(std::string_view version);

} // namespace procparse
