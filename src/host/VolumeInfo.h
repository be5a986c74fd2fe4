#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct VolumeSpace {
    std::uint64_t size = 0;     // bytes
    std::uint64_t freeSize = 0; // bytes available to the user
};

// Size and free space of the volume that holds a path.
class VolumeInfo {
public:
    virtual ~VolumeInfo() = default;
    virtual std::optional<VolumeSpace> spaceFor(const std::string& path) = 0;
};
