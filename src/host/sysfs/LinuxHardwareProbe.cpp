#include "host/sysfs/LinuxHardwareProbe.h"

#include "host/DisplayFacts.h"
#include "host/KernelFacts.h"
#include "host/proc/ProcParsers.h"
#include "host/sysfs/PciIds.h"
#include "host/sysfs/PowerSupply.h"
#include "host/system/HostFile.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr uint16_t kInputPropDirect = 1u << 1;

bool startsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

// The value of KEY= in a uevent file.
std::optional<std::string> ueventValue(const std::string& file, const std::string& key)
{
    const auto text = hostfile::read(file, 16384);
    if (!text)
        return std::nullopt;
    const auto kv = procparse::keyValues(*text);
    const auto it = kv.find(key);
    return it == kv.end() ? std::nullopt : std::optional<std::string>(it->second);
}

std::optional<uint16_t> hex16(const std::string& text)
{
    try {
        size_t used = 0;
        const unsigned long v = std::stoul(text, &used, 16);
        if (used != text.size() || v > 0xFFFF)
            return std::nullopt;
        return static_cast<uint16_t>(v);
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace

LinuxHardwareProbe::LinuxHardwareProbe(KernelFacts& facts, std::string root, CameraQuery cameras)
    : m_facts(facts), m_root(std::move(root)), m_cameras(std::move(cameras))
{
    if (!m_cameras)
        m_cameras = V4l2Camera::query;
}

std::string LinuxHardwareProbe::path(const char* absolute) const
{
    return hostfile::join(m_root, absolute);
}

HardwareFacts LinuxHardwareProbe::probe()
{
    HardwareFacts f;
    probeIdentity(f);
    probeDisplay(f);
    probeBattery(f);
    probeGpu(f);
    probeCameras(f);
    probeInput(f);
    probeAudio(f);
    probeRadios(f);
    probeSensors(f);
    return f;
}

void LinuxHardwareProbe::probeIdentity(HardwareFacts& f) const
{
    const auto vendor = hostfile::readLine(path("/sys/class/dmi/id/sys_vendor"));
    const auto product = hostfile::readLine(path("/sys/class/dmi/id/product_name"));
    if (product && !product->empty())
        f.device = (vendor && !vendor->empty()) ? *vendor + " " + *product : *product;
    else if (auto tree = hostfile::readLine(path("/proc/device-tree/model"));
             tree && !tree->empty())
        f.device = *tree;

    if (const auto cpuinfo = hostfile::read(path("/proc/cpuinfo"))) {
        // x86 and newer ARM kernels say "model name"; older ARM "Processor",
        // MIPS "cpu model"; "Hardware" names the SoC when nothing else does.
        for (const char* key : {"model name", "Processor", "cpu model", "Hardware"})
            if ((f.processor = procparse::cpuinfoField(*cpuinfo, key)))
                break;
    }
    f.coreNumber = m_facts.onlineCpus();
}

void LinuxHardwareProbe::probeDisplay(HardwareFacts& f) const
{
    const auto display = DisplayFacts::get();
    if (!display || display->width_px <= 0 || display->height_px <= 0)
        return;
    // Long side first, as the handheld tables list their screens.
    const int longSide = std::max(display->width_px, display->height_px);
    const int shortSide = std::min(display->width_px, display->height_px);
    f.display_resolution = std::to_string(longSide) + " x " + std::to_string(shortSide);
    if (display->ppi > 0)
        f.display_ppi = std::to_string(std::lround(display->ppi)) + " ppi";
}

void LinuxHardwareProbe::probeBattery(HardwareFacts& f) const
{
    const PowerSupplyReading r = PowerSupply::read(m_root);
    if (r.batteries == 0) {
        // No battery, no battery facts: not the model table's default voltage.
        f.battery_voltage = "N/A";
        f.battery_capacity = "N/A";
        return;
    }
    if (r.design_capacity_mah)
        f.battery_capacity = std::to_string(*r.design_capacity_mah) + " mAh";
    if (r.design_voltage_uv) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.1f V", static_cast<double>(*r.design_voltage_uv) / 1e6);
        f.battery_voltage = buf;
    }
}

void LinuxHardwareProbe::probeGpu(HardwareFacts& f) const
{
    const std::string drm = path("/sys/class/drm");
    for (const auto& card : hostfile::list(drm)) {
        // "card0" is the GPU; "card0-HDMI-A-1" and friends are its connectors.
        if (!startsWith(card, "card") || card.find('-') != std::string::npos)
            continue;
        const std::string uevent = drm + "/" + card + "/device/uevent";
        if (const auto pciId = ueventValue(uevent, "PCI_ID")) {
            const size_t colon = pciId->find(':');
            const auto vendor = hex16(pciId->substr(0, colon));
            const auto device =
                colon == std::string::npos ? std::nullopt : hex16(pciId->substr(colon + 1));
            if (vendor && device)
                for (const char* db : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"})
                    if ((f.gpu = PciIds::name(path(db), *vendor, *device)))
                        return;
        }
        // Without a name database (or on a board without PCI) the driver
        // name is the best description there is.
        if ((f.gpu = ueventValue(uevent, "DRIVER")))
            return;
    }
}

void LinuxHardwareProbe::probeCameras(HardwareFacts& f) const
{
    const std::string dir = path("/sys/class/video4linux");
    uint64_t front = 0, rear = 0;
    for (const auto& node : hostfile::list(dir)) {
        if (!startsWith(node, "video"))
            continue;
        const auto mode = m_cameras(hostfile::join(m_root, "/dev/" + node));
        if (!mode || mode->max_pixels == 0)
            continue;
        // A camera that does not say where it looks is a laptop or USB
        // webcam: it faces the user.
        uint64_t& slot = mode->facing == CameraMode::Facing::Back ? rear : front;
        slot = std::max(slot, mode->max_pixels);
    }
    if (front) {
        f.front_camera = true;
        f.front_camera_resolution = megapixelText(front);
    }
    if (rear) {
        f.rear_camera = true;
        f.rear_camera_resolution = megapixelText(rear);
    }
}

void LinuxHardwareProbe::probeInput(HardwareFacts& f) const
{
    const std::string dir = path("/sys/class/input");
    if (!hostfile::isDirectory(dir))
        return;
    f.touchscreen = false;
    for (const auto& dev : hostfile::list(dir)) {
        if (!startsWith(dev, "input"))
            continue;
        // INPUT_PROP_DIRECT (bit 1): the pointer sits on the screen itself.
        const auto props = hostfile::readLine(dir + "/" + dev + "/properties");
        const auto abs = hostfile::readLine(dir + "/" + dev + "/capabilities/abs");
        const auto bits =
            props ? hex16(props->substr(props->size() > 4 ? props->size() - 4 : 0)) : std::nullopt;
        if (bits && (*bits & kInputPropDirect) && abs && *abs != "0")
            f.touchscreen = true;
    }
}

void LinuxHardwareProbe::probeAudio(HardwareFacts& f) const
{
    if (const auto pcm = hostfile::read(path("/proc/asound/pcm"))) {
        f.speaker = pcm->find(": playback ") != std::string::npos;
        f.microphone = pcm->find(": capture ") != std::string::npos;
    } else if (hostfile::isDirectory(path("/proc/asound"))) {
        f.speaker = false; // ALSA is there but has no card
        f.microphone = false;
    }
}

void LinuxHardwareProbe::probeRadios(HardwareFacts& f) const
{
    const std::string cls = path("/sys/class");
    if (!hostfile::isDirectory(cls))
        return;
    f.wifi = false;
    bool wwan = !hostfile::list(cls + "/wwan").empty();
    for (const auto& ifc : hostfile::list(cls + "/net")) {
        const std::string base = cls + "/net/" + ifc;
        if (hostfile::isDirectory(base + "/wireless") || hostfile::exists(base + "/phy80211"))
            f.wifi = true;
        if (ueventValue(base + "/uevent", "DEVTYPE").value_or("") == "wwan")
            wwan = true;
    }
    f.bluetooth = !hostfile::list(cls + "/bluetooth").empty();
    f.phone = wwan;
    f.has3g = wwan;
    f.gps = !hostfile::list(cls + "/gnss").empty();
}

void LinuxHardwareProbe::probeSensors(HardwareFacts& f) const
{
    if (!hostfile::isDirectory(path("/sys/bus")))
        return;
    bool accel = false, gyro = false, magn = false, light = false, prox = false;
    const std::string dir = path("/sys/bus/iio/devices");
    for (const auto& dev : hostfile::list(dir))
        for (const auto& file : hostfile::list(dir + "/" + dev)) {
            accel |= startsWith(file, "in_accel_");
            gyro |= startsWith(file, "in_anglvel_");
            magn |= startsWith(file, "in_magn_");
            light |= startsWith(file, "in_illuminance") || startsWith(file, "in_intensity_");
            prox |= startsWith(file, "in_proximity");
        }
    f.accelerometer = accel;
    f.gyroscope = gyro;
    f.magnetometer = magn;
    f.ambient_light = light;
    f.proximity = prox;
}
