#include "host/proc/ProcessStatParser.h"

#include <charconv>
#include <limits>

namespace procstat {

namespace {

// Takes the next blank-separated token of text.
std::string_view nextToken(std::string_view& text)
{
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    std::size_t end = start;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\n')
        ++end;
    const std::string_view token = text.substr(start, end - start);
    text.remove_prefix(end);
    return token;
}

template <typename T> std::optional<T> number(std::string_view token)
{
    T value{};
    if (token.empty())
        return std::nullopt;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<StatFields> statLine(std::string_view line)
{
    const std::size_t open = line.find('(');
    const std::size_t close = line.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return std::nullopt;
    StatFields f;
    std::string_view head = line.substr(0, open);
    const auto pid = number<std::int32_t>(nextToken(head));
    if (!pid)
        return std::nullopt;
    f.pid = *pid;
    f.comm = line.substr(open + 1, close - open - 1);

    // Fields after the name, counted from 3 (state) as proc(5) numbers them.
    std::string_view rest = line.substr(close + 1);
    std::string_view tokens[20];
    for (std::string_view& token : tokens) {
        token = nextToken(rest);
        if (token.empty())
            return std::nullopt;
    }
    const auto ppid = number<std::int32_t>(tokens[4 - 3]);
    const auto pgrp = number<std::int32_t>(tokens[5 - 3]);
    const auto priority = number<std::int32_t>(tokens[18 - 3]);
    const auto start = number<std::uint64_t>(tokens[22 - 3]);
    if (!ppid || !pgrp || !priority || !start)
        return std::nullopt;
    f.ppid = *ppid;
    f.pgrp = *pgrp;
    f.priority = *priority;
    f.startTicks = *start;
    return f;
}

std::optional<std::uint32_t> effectiveUid(std::string_view status)
{
    std::size_t at = 0;
    while (at < status.size()) {
        std::size_t end = status.find('\n', at);
        if (end == std::string_view::npos)
            end = status.size();
        std::string_view line = status.substr(at, end - at);
        if (line.substr(0, 4) == "Uid:") {
            line.remove_prefix(4);
            nextToken(line); // the real user id
            return number<std::uint32_t>(nextToken(line));
        }
        at = end + 1;
    }
    return std::nullopt;
}

} // namespace procstat
