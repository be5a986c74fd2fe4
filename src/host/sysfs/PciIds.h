#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Names from the pci.ids database (the hwdata / pciutils text file).
class PciIds {
public:
    // "Vendor Device" for the pair, or the vendor alone when the device is
    // not listed; nullopt when the file or the vendor is missing.
    static std::optional<std::string> name(const std::string& file, uint16_t vendor,
                                           uint16_t device);
};
