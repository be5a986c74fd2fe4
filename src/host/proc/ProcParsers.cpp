#include "host/proc/ProcParsers.h"

#include "host/system/HostFile.h"

#include <vector>

namespace procparse {
namespace {

// Calls fn(line) for every line that ends in '\n'. A last line without its
// newline is a truncated read and is dropped, so a cut-off number is never
// taken for a whole one.
template <typename Fn> void forCompleteLines(std::string_view text, Fn fn)
{
    size_t start = 0;
    while (start < text.size()) {
        const size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos)
            return;
        if (!fn(text.substr(start, nl - start)))
            return;
        start = nl + 1;
    }
}

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const size_t begin = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > begin)
            out.push_back(line.substr(begin, i - begin));
    }
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

std::optional<CpuTicks> cpuLine(std::string_view procStat)
{
    std::optional<CpuTicks> result;
    forCompleteLines(procStat, [&](std::string_view line) {
        if (!startsWith(line, "cpu "))
            return true;
        const auto w = words(line);
        // user nice system idle [iowait irq softirq steal guest guest_nice]
        uint64_t v[8] = {};
        if (w.size() < 5)
            return false;
        for (size_t i = 1; i < w.size() && i <= 8; ++i) {
            auto n = hostfile::parseNumber(w[i]);
            if (!n)
                return false;
            v[i - 1] = *n;
        }
        result = CpuTicks{v[0], v[1], v[2] + v[5] + v[6] + v[7], v[3] + v[4]};
        return false;
    });
    return result;
}

std::optional<uint64_t> bootTime(std::string_view procStat)
{
    std::optional<uint64_t> result;
    forCompleteLines(procStat, [&](std::string_view line) {
        if (!startsWith(line, "btime "))
            return true;
        result = hostfile::parseNumber(hostfile::trim(line.substr(6)));
        return false;
    });
    return result;
}

MemInfo meminfo(std::string_view text)
{
    MemInfo m;
    const std::pair<std::string_view, std::optional<uint64_t>*> keys[] = {
        {"MemTotal", &m.total},         {"MemFree", &m.free},
        {"MemAvailable", &m.available}, {"Active", &m.active},
        {"Inactive", &m.inactive},      {"Unevictable", &m.unevictable},
        {"SUnreclaim", &m.sunreclaim},  {"KernelStack", &m.kernel_stack},
        {"PageTables", &m.page_tables},
    };
    forCompleteLines(text, [&](std::string_view line) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return true;
        const std::string_view key = line.substr(0, colon);
        for (const auto& [name, field] : keys) {
            if (key != name)
                continue;
            const auto w = words(line.substr(colon + 1));
            if (w.size() == 2 && w[1] == "kB")
                if (auto kib = hostfile::parseNumber(w[0]); kib && *kib <= (UINT64_MAX >> 10))
                    *field = *kib << 10;
            break;
        }
        return true;
    });
    return m;
}

VmStat vmstat(std::string_view text)
{
    VmStat s;
    const std::pair<std::string_view, std::optional<uint64_t>*> keys[] = {
        {"pgpgin", &s.pgpgin},         {"pgpgout", &s.pgpgout},         {"pgfault", &s.pgfault},
        {"pgactivate", &s.pgactivate}, {"pglazyfreed", &s.pglazyfreed},
    };
    forCompleteLines(text, [&](std::string_view line) {
        const size_t space = line.find(' ');
        if (space == std::string_view::npos)
            return true;
        const std::string_view key = line.substr(0, space);
        for (const auto& [name, field] : keys)
            if (key == name)
                *field = hostfile::parseNumber(line.substr(space + 1));
        return true;
    });
    return s;
}

std::map<std::string, std::string> keyValues(std::string_view text)
{
    std::map<std::string, std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos)
            nl = text.size();
        const std::string_view line = hostfile::trim(text.substr(start, nl - start));
        start = nl + 1;
        const size_t eq = line.find('=');
        if (line.empty() || line.front() == '#' || eq == std::string_view::npos || eq == 0)
            continue;
        const std::string key(line.substr(0, eq));
        std::string_view raw = line.substr(eq + 1);
        std::string value;
        if (!raw.empty() && (raw.front() == '"' || raw.front() == '\'')) {
            const char quote = raw.front();
            bool closed = false;
            for (size_t i = 1; i < raw.size(); ++i) {
                if (raw[i] == '\\' && quote == '"' && i + 1 < raw.size()) {
                    value.push_back(raw[++i]);
                } else if (raw[i] == quote) {
                    closed = true;
                    break;
                } else {
                    value.push_back(raw[i]);
                }
            }
            if (!closed) // a garbled line: better no value than half of one
                continue;
        } else {
            value = std::string(raw);
        }
        out[key] = value;
    }
    return out;
}

std::optional<std::string> cpuinfoField(std::string_view text, std::string_view key)
{
    std::optional<std::string> result;
    forCompleteLines(text, [&](std::string_view line) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || hostfile::trim(line.substr(0, colon)) != key)
            return true;
        const auto value = hostfile::trim(line.substr(colon + 1));
        if (!value.empty())
            result = std::string(value);
        return false;
    });
    return result;
}

std::optional<uint64_t> cpuinfoHz(std::string_view text)
{
    const auto mhz = cpuinfoField(text, "cpu MHz");
    if (!mhz)
        return std::nullopt;
    // "2793.436": whole MHz and up to three decimals, kept exact in Hz.
    const std::string_view v = *mhz;
    const size_t dot = v.find('.');
    const auto whole = hostfile::parseNumber(v.substr(0, dot));
    if (!whole)
        return std::nullopt;
    uint64_t hz = *whole * 1000000;
    if (dot != std::string_view::npos) {
        std::string_view frac = v.substr(dot + 1, 3);
        const auto f = hostfile::parseNumber(frac);
        if (!f)
            return std::nullopt;
        uint64_t scale = 1000;
        for (size_t i = 0; i < frac.size(); ++i)
            scale /= 10;
        hz += *f * scale * 1000;
    }
    return hz;
}

std::optional<uint32_t> cpuListCount(std::string_view text)
{
    text = hostfile::trim(text);
    if (text.empty())
        return std::nullopt;
    uint32_t count = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            comma = text.size();
        const std::string_view part = text.substr(start, comma - start);
        const size_t dash = part.find('-');
        const auto lo = hostfile::parseNumber(part.substr(0, dash));
        if (!lo)
            return std::nullopt;
        uint64_t hi = *lo;
        if (dash != std::string_view::npos) {
            const auto h = hostfile::parseNumber(part.substr(dash + 1));
            if (!h || *h < *lo)
                return std::nullopt;
            hi = *h;
        }
        count += static_cast<uint32_t>(hi - *lo + 1);
        start = comma + 1;
    }
    return count;
}

std::optional<uint64_t> cacheSize(std::string_view text)
{
    text = hostfile::trim(text);
    uint64_t unit = 1;
    if (!text.empty() && (text.back() == 'K' || text.back() == 'M' || text.back() == 'G')) {
        unit = text.back() == 'K' ? 1024 : text.back() == 'M' ? 1024 * 1024 : 1024 * 1024 * 1024;
        text.remove_suffix(1);
    }
    const auto n = hostfile::parseNumber(text);
    if (!n)
        return std::nullopt;
    return *n * unit;
}

std::optional<uint64_t> kernelBuild(std::string_view version)
{
    const size_t hash = version.find('#');
    if (hash == std::string_view::npos)
        return std::nullopt;
    size_t end = hash + 1;
    while (end < version.size() && version[end] >= '0' && version[end] <= '9')
        ++end;
    return hostfile::parseNumber(version.substr(hash + 1, end - hash - 1));
}

} // namespace procparse
