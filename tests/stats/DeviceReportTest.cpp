#include "stats/DeviceReport.h"
#include "stats/StaticStats.h"
#include "StatsFakes.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(DeviceReportText, BlocksUnitsAndAbsentValues)
{
    fakes::Kernel kernel;
    kernel.id->machine = "iPod4,1";
    kernel.cache.l1d = 32768;
    kernel.cache.l2 = 524288;
    kernel.cache.line = 64;
    fakes::Identity identity;
    fakes::Probe probe;
    fakes::FakeModem modem;
    const QStringList lines =
        DeviceReport::text(StaticStats({kernel, identity, probe, modem})).split('\n');
    ASSERT_EQ(lines.size(), 47); // 46 lines, the last one ended too
    EXPECT_EQ(lines.last(), "");
    // The first block has no blank before its line ends; the others do.
    EXPECT_EQ(lines.mid(0, 7), (QStringList{"Operating System:", "- system: Debian GNU/Linux 12",
                                            "- system build: 12", "- multitasking support: Yes",
                                            "- kernel: Linux 6.1.0", "- kernel build: 42", ""}));
    for (const char* line :
         {"Device Information:", "- model: N/A ", // no model on record
          "- hostname: box ", "CPU Information:", "- BUS frequency: N/A ", "- L1 cache size: N/A ",
          "- L1D cache size: 32 KB ", "- L2 cache size: 512 KB ", "- cacheline: 64 ",
          "Hardware Features:", "- rear camera: 0.7 MP ", "- front camera: 0.3 MP ",
          "- proximity sensor: No ", "- speaker: Yes "})
        EXPECT_TRUE(lines.contains(line)) << line;
}

TEST(DeviceReportText, CameraLineSaysNoWithoutTheCameraWhateverItsResolution)
{
    fakes::Kernel kernel;
    kernel.id->machine = "x86_64";
    fakes::Identity identity;
    fakes::Probe probe;
    probe.facts.rear_camera = true;
    probe.facts.rear_camera_resolution = "5 MP";
    probe.facts.front_camera = false;
    probe.facts.front_camera_resolution = "0.9 MP";
    fakes::FakeModem modem;
    const QString text = DeviceReport::text(StaticStats({kernel, identity, probe, modem}));
    EXPECT_TRUE(text.contains("- rear camera: 5 MP \n- front camera: No \n"));
}
