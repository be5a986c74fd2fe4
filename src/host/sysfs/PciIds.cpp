#include "host/sysfs/PciIds.h"

#include <cstdio>
#include <fstream>

namespace {
// A line "hhhh  Name" (after optional tabs): its id, or -1.
int idOf(const std::string& line, size_t at)
{
    if (line.size() < at + 6 || line[at + 4] != ' ' || line[at + 5] != ' ')
        return -1;
    unsigned value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        const char c = line[i];
        const int d = (c >= '0' && c <= '9')   ? c - '0'
                      : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                               : -1;
        if (d < 0)
            return -1;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return static_cast<int>(value);
}
} // namespace

std::optional<std::string> PciIds::name(const std::string& file, uint16_t vendor, uint16_t device)
{
    std::ifstream in(file);
    if (!in)
        return std::nullopt;
    std::string line, vendorName;
    bool inVendor = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] != '\t') {
            if (inVendor || line.rfind("C ", 0) == 0)
                break; // past our vendor, or into the device-class section
            if (idOf(line, 0) == vendor) {
                inVendor = true;
                vendorName = line.substr(6);
            }
        } else if (inVendor && line.size() > 1 && line[1] != '\t' && idOf(line, 1) == device) {
            return vendorName + " " + line.substr(7);
        }
    }
    if (inVendor)
        return vendorName;
    return std::nullopt;
}
