#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small, allocation-light readers for /proc and sysfs files. Every reader
// answers nullopt when the file is missing or unreadable, so a caller can
// leave the matching field absent instead of guessing.
namespace hostfile {

// Joins a root directory ("/" or a fixture folder) and an absolute path.
std::string join(const std::string& root, std::string_view path);

// Whole file (up to maxBytes); /proc files report size 0, so it reads until EOF.
std::optional<std::string> read(const std::string& path, size_t maxBytes = 1 << 20);

// First line without the trailing newline and surrounding blanks (sysfs values).
std::optional<std::string> readLine(const std::string& path);

// A sysfs number: the whole trimmed first line must be decimal digits.
std::optional<uint64_t> readNumber(const std::string& path);

// Decimal digits only, no sign, no trailing garbage; nullopt on overflow.
std::optional<uint64_t> parseNumber(std::string_view text);

std::string_view trim(std::string_view text);

bool isDirectory(const std::string& path);
bool exists(const std::string& path);

// Names in a directory (no "." or ".."), sorted so results are repeatable.
std::vector<std::string> list(const std::string& dir);

} // namespace hostfile
