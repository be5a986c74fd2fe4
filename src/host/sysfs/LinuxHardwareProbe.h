#pragma once

#include "host/HardwareProbe.h"
#include "host/sysfs/V4l2Camera.h"

#include <functional>
#include <string>

class KernelFacts;

// HardwareFacts from sysfs, /proc, pci.ids and V4L2 under a root directory.
// A family of devices answers YES or NO once its sysfs class can be read; it
// stays nullopt where the folder itself is missing.
class LinuxHardwareProbe : public HardwareProbe {
public:
    using CameraQuery = std::function<std::optional<CameraMode>(const std::string& deviceNode)>;

    // facts (core count) must outlive the probe; the camera query defaults to V4L2.
    LinuxHardwareProbe(KernelFacts& facts, std::string root = "/", CameraQuery cameras = {});

    HardwareFacts probe() override;

private:
    std::string path(const char* absolute) const;
    void probeIdentity(HardwareFacts& f) const;
    void probeDisplay(HardwareFacts& f) const;
    void probeBattery(HardwareFacts& f) const;
    void probeGpu(HardwareFacts& f) const;
    void probeCameras(HardwareFacts& f) const;
    void probeInput(HardwareFacts& f) const;
    void probeAudio(HardwareFacts& f) const;
    void probeRadios(HardwareFacts& f) const;
    void probeSensors(HardwareFacts& f) const;

    KernelFacts& m_facts;
    std::string m_root;
    CameraQuery m_cameras;
};
