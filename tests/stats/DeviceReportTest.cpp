#include "stats/DeviceReport.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/sysfs/LinuxHardwareProbe.h"
#include "host/system/LinuxDeviceIdentity.h"
#include "stats/StaticStats.h"
#include "StatsFakes.h"

#include "support/CommandOutput.h"
#include <QStringList>

#include <gtest/gtest.h>

namespace {
using testsupport::commandOutput;
const auto run = [](const QString& program, const QStringList& args) {
    return commandOutput(program, args);
};
} // namespace

TEST(DeviceReportText, IPodLayoutLineByLine)
{
    fakes::Kernel kernel;
    kernel.id->machine = "iPod4,1";
    kernel.cache.l1i = 32768;
    kernel.cache.l1d = 32768;
    kernel.cache.l2 = 524288;
    kernel.cache.line = 64;
    fakes::Identity identity;
    fakes::Probe probe;
    fakes::FakeModem modem;
    const StaticStats s({kernel, identity, probe, modem});
    const QStringList lines = DeviceReport::text(s).split('\n');
    const QStringList expected = {
        "Operating System:",
        "- system: Debian GNU/Linux 12",
        "- system build: 12",
        "- multitasking support: Yes",
        "- kernel: Linux 6.1.0",
        "- kernel build: 42",
        "",
        "Device Information:",
        "- device: iPod Touch 4G ",
        "- device ID: iPod4,1 ",
        "- model: N/A ", // no model on record
        "- name: Ana's box ",
        "- hostname: box ",
        "- UDID: 0123abcd ",
        "",
        "CPU Information:",
        "- CPU model: ARM Cortex-A8 Apple A4 ",
        "- GPU model: PowerVR SGX535 ",
        "- core number: 1 ",
        "- CPU frequency: ~800 MHz ",
        "- BUS frequency: N/A ",
        "- TB frequency: N/A ",
        "- L1 cache size: 32 KB ",
        "- L1D cache size: 32 KB ",
        "- L2 cache size: 512 KB ",
        "- byteorder: 1234 ",
        "- cacheline: 64 ",
        "",
        "Hardware Features:",
        "- display resolution: 960 x 640 ",
        "- pixel density: 326 ppi ",
        "- battery voltage: 3.7 V ",
        "- battery capacity: 930 mAh ",
        "- rear camera: 0.7 MP ",
        "- front camera: 0.3 MP ",
        "- touchscreen: Yes ",
        "- microphone: Yes ",
        "- speaker: Yes ",
        "- wi-fi: Yes ",
        "- bluetooth: Yes ",
        "- accelerometer: Yes ",
        "- gyroscopic sensor: Yes ",
        "- ambient light sensor: Yes ",
        "- proximity sensor: No ",
        "- magnetometer: No ",
        "- phone: No ",
        "", // the text ends with a line break
    };
    EXPECT_EQ(lines, expected);
}

TEST(DeviceReportText, CameraLinesSayNoWithoutTheCamera)
{
    fakes::Kernel kernel;
    kernel.id->machine = "iPod1,1";
    fakes::Identity identity;
    fakes::Probe probe;
    fakes::FakeModem modem;
    const QString text = DeviceReport::text(StaticStats({kernel, identity, probe, modem}));
    EXPECT_TRUE(text.contains("- rear camera: No \n- front camera: No \n"));
    EXPECT_TRUE(text.contains("- speaker: No \n"));
    EXPECT_FALSE(text.contains("GPS"));
    EXPECT_FALSE(text.contains("System Log"));
}

TEST(DeviceReportText, ThisMachineAgreesWithUnameAndNproc)
{
    // The real Linux services; the modem is faked, so the test needs no D-Bus.
    LinuxKernelFacts kernel;
    LinuxDeviceIdentity identity(kernel);
    LinuxHardwareProbe probe(kernel);
    fakes::FakeModem modem;
    const QString text = DeviceReport::text(StaticStats({kernel, identity, probe, modem}));
    EXPECT_EQ(text.count('\n'), 46);
    EXPECT_TRUE(text.contains(
        QString("- kernel: %1 %2\n").arg(run("uname", {"-s"}), run("uname", {"-r"}))));
    EXPECT_TRUE(text.contains(QString("- hostname: %1 \n").arg(run("uname", {"-n"}))));
    EXPECT_TRUE(text.contains(QString("- device ID: %1 \n").arg(run("uname", {"-m"}))));
    EXPECT_TRUE(
        text.contains(QString("- core number: %1 \n").arg(run("getconf", {"_NPROCESSORS_ONLN"}))));
    for (const char* label : {"- system: ", "- UDID: ", "- CPU model: ", "- L1 cache size: ",
                              "- display resolution: ", "- phone: "})
        EXPECT_TRUE(text.contains(label)) << label;
    EXPECT_FALSE(text.contains("(null)"));
}
