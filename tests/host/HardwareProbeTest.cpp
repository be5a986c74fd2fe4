#include "host/DisplayFacts.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/sysfs/LinuxHardwareProbe.h"
#include "host/sysfs/PciIds.h"
#include "HostFixtures.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Stands in for V4L2: answers by device node name.
LinuxHardwareProbe::CameraQuery cameras(std::map<std::string, CameraMode> byNode)
{
    return [byNode](const std::string& node) -> std::optional<CameraMode> {
        const auto slash = node.rfind('/');
        const auto it = byNode.find(node.substr(slash + 1));
        if (it == byNode.end())
            return std::nullopt;
        return it->second;
    };
}

HardwareFacts probe(const char* machine, LinuxHardwareProbe::CameraQuery query = {})
{
    LinuxKernelFacts facts(machineRoot(machine));
    if (!query)
        query = cameras({});
    return LinuxHardwareProbe(facts, machineRoot(machine), query).probe();
}

// Every yes/no fact in the order below, five to a group: "+" yes, "-" no, "?" unknown.
std::string lamps(const HardwareFacts& f)
{
    const std::optional<bool> all[] = {
        f.front_camera,  f.rear_camera,   f.touchscreen, f.microphone, f.speaker,
        f.wifi,          f.bluetooth,     f.phone,       f.has3g,      f.gps,
        f.ambient_light, f.accelerometer, f.gyroscope,   f.proximity,  f.magnetometer};
    std::string out;
    for (std::size_t i = 0; i < std::size(all); ++i)
        out += std::string(i && i % 5 == 0 ? " " : "") + (!all[i] ? '?' : *all[i] ? '+' : '-');
    return out;
}

} // namespace

TEST(HardwareProbeFixtures, LaptopWithWebcamRadiosAndLightSensor)
{
    DisplayFacts::set({1920, 1200, 224.3});
    // video1 is the webcam's metadata node: it does not capture.
    const HardwareFacts f = probe("laptop-one-battery",
                                  cameras({{"video0", {1280 * 720, CameraMode::Facing::Unknown}}}));
    DisplayFacts::clear();
    EXPECT_EQ(f.device, "LENOVO 20XW004GGE");
    EXPECT_EQ(f.display_resolution, "1920 x 1200");
    EXPECT_EQ(f.display_ppi, "224 ppi");
    EXPECT_EQ(f.gpu, "Intel Corporation TigerLake-LP GT2 [Iris Xe Graphics]");
    EXPECT_EQ(f.coreNumber, 8u);
    EXPECT_EQ(f.battery_capacity, "4947 mAh");
    EXPECT_EQ(f.battery_voltage, "11.5 V");
    EXPECT_EQ(f.front_camera_resolution, "0.9 MP");
    // A webcam faces the user; the touchpad is not a direct device.
    EXPECT_EQ(lamps(f), "+?-++ ++--- +----");
}

TEST(HardwareProbeFixtures, DesktopWithoutBatteryOrRadios)
{
    const HardwareFacts f = probe("desktop");
    EXPECT_EQ(f.device, "ASUS System Product Name");
    EXPECT_EQ(f.gpu,
              "Advanced Micro Devices, Inc. [AMD/ATI] Navi 21 [Radeon RX 6800/6800 XT / 6900 XT]");
    EXPECT_EQ(f.coreNumber, 32u);
    // The mouse battery is not the machine's: no battery facts, rather than
    // the model table's default voltage.
    EXPECT_EQ(f.battery_capacity, "N/A");
    EXPECT_EQ(f.battery_voltage, "N/A");
    EXPECT_FALSE(f.display_resolution); // nobody measured a screen
    // HDMI audio plays only: a speaker but no microphone.
    EXPECT_EQ(lamps(f), "?\?--+ ----- -----");
}

TEST(HardwareProbeFixtures, ArmBoardWithTouchScreenSensorsModemAndRearCamera)
{
    const HardwareFacts f =
        probe("arm-board", cameras({{"video0", {2592 * 1944, CameraMode::Facing::Back}}}));
    EXPECT_EQ(f.device, "Raspberry Pi 4 Model B Rev 1.4");
    EXPECT_EQ(f.processor, "BCM2835");
    EXPECT_EQ(f.gpu, "vc4-drm"); // no PCI id: the driver names it
    EXPECT_EQ(f.rear_camera_resolution, "5 MP");
    // No ALSA folder captured: the microphone is unknown, not NO.
    EXPECT_EQ(lamps(f), "?++?? --+++ -+++-");
}

TEST(HardwareProbeFixtures, DamagedSourcesStayUnknown)
{
    const HardwareFacts f = probe("garbled");
    EXPECT_FALSE(f.gpu);        // PCI_ID "nonsense" and no driver
    EXPECT_FALSE(f.coreNumber); // online "0-"
    EXPECT_FALSE(f.device);
    EXPECT_FALSE(f.processor);
    // /sys/class lists no wireless interface; no input folder: touch unknown.
    EXPECT_EQ(lamps(f), "????? ----- ?????");
}

TEST(PciIdsLookup, VendorDeviceAndMisses)
{
    const std::string db = machineRoot("desktop") + "/usr/share/misc/pci.ids";
    EXPECT_EQ(PciIds::name(db, 0x8086, 0x1916), "Intel Corporation Skylake GT2 [HD Graphics 520]");
    EXPECT_EQ(PciIds::name(db, 0x8086, 0x0001), "Intel Corporation"); // unknown device
    EXPECT_FALSE(PciIds::name(db, 0x10de, 0x2204));                   // unknown vendor
    EXPECT_FALSE(PciIds::name(db, 0x0000, 0x0000));                   // class section not read
    EXPECT_FALSE(PciIds::name("/nonexistent/pci.ids", 0x8086, 0x1916));
}

TEST(MegapixelText, RoundsToTenthsAndDropsZeroDecimals)
{
    EXPECT_EQ(HardwareProbe::megapixelText(640 * 480), "0.3 MP");
    EXPECT_EQ(HardwareProbe::megapixelText(1920 * 1080), "2.1 MP"); // 2.07 rounds up
    EXPECT_EQ(HardwareProbe::megapixelText(12000000), "12 MP");
}
