#include "host/system/HostFile.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hostfile {

std::string join(const std::string& root, std::string_view path)
{
    std::string out = root;
    while (!out.empty() && out.back() == '/')
        out.pop_back();
    if (path.empty() || path.front() != '/')
        out.push_back('/');
    out.append(path);
    return out;
}

std::optional<std::string> read(const std::string& path, size_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string out;
    char buf[8192];
    bool ok = true;
    while (out.size() < maxBytes) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    if (out.size() > maxBytes)
        out.resize(maxBytes);
    return out;
}

std::string_view trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && (blank(text.front())))
        text.remove_prefix(1);
    // Device-tree strings end in NUL; treat it as blank.
    while (!text.empty() && (blank(text.back()) || text.back() == '\0'))
        text.remove_suffix(1);
    return text;
}

std::optional<std::string> readLine(const std::string& path)
{
    auto text = read(path, 4096);
    if (!text)
        return std::nullopt;
    std::string_view view = *text;
    const size_t nl = view.find('\n');
    if (nl != std::string_view::npos)
        view = view.substr(0, nl);
    return std::string(trim(view));
}

std::optional<uint64_t> parseNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<uint64_t> readNumber(const std::string& path)
{
    auto line = readLine(path);
    if (!line)
        return std::nullopt;
    return parseNumber(*line);
}

bool isDirectory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> list(const std::string& dir)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return names;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace hostfile
