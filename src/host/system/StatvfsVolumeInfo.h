#pragma once

#include "host/VolumeInfo.h"

// statvfs of the path, or of its nearest existing parent: a documents
// folder that was never created still lives on a volume.
class StatvfsVolumeInfo : public VolumeInfo {
public:
    std::optional<VolumeSpace> spaceFor(const std::string& path) override;
};
