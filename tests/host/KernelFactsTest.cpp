#include "host/DemoMode.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/system/HostFile.h"
#include "HostFixtures.h"

#include <gtest/gtest.h>

TEST(KernelFactsFixtures, LaptopReadsEverySource)
{
    LinuxKernelFacts k(machineRoot("laptop-one-battery"));
    const auto id = k.identity();
    ASSERT_TRUE(id);
    EXPECT_EQ(id->ostype, "Linux");
    EXPECT_EQ(id->release, "6.1.0-18-amd64");
    EXPECT_EQ(id->hostname, "thinkpad");
    EXPECT_EQ(id->machine, "x86_64");
    const auto avg = k.loadAverages();
    ASSERT_TRUE(avg);
    EXPECT_DOUBLE_EQ((*avg)[0], 0.52);
    EXPECT_DOUBLE_EQ((*avg)[2], 0.59);
    EXPECT_EQ(k.cpuFrequencyHz(), 4700000000ull); // cpufreq wins over cpuinfo's 1200 MHz
    const CacheSizes c = k.caches();
    EXPECT_EQ(c.l1i, 32u * 1024);
    EXPECT_EQ(c.l1d, 48u * 1024);
    EXPECT_EQ(c.l2, 1280u * 1024);
    EXPECT_EQ(c.line, 64u);
    EXPECT_EQ(k.model(), "20XW004GGE");
    EXPECT_FALSE(k.osRelease().build_id);
    EXPECT_EQ(k.onlineCpus(), 8u);
    EXPECT_EQ(k.pageSize(), 4096u);
}

TEST(KernelFactsFixtures, ArmBoardUsesDeviceTreeAndHasNoCacheFolder)
{
    LinuxKernelFacts k(machineRoot("arm-board"));
    EXPECT_EQ(k.model(), "Raspberry Pi 4 Model B Rev 1.4"); // trailing NUL dropped
    EXPECT_EQ(k.identity()->machine, "aarch64");
    EXPECT_EQ(k.cpuFrequencyHz(), 1800000000ull);
    const CacheSizes c = k.caches();
    EXPECT_FALSE(c.l1i || c.l2 || c.line);
    EXPECT_FALSE(k.prettyHostname() || k.cpuTicks() || k.bootTime()); // no /proc/stat captured
}

TEST(KernelFactsFixtures, DamagedFilesLeaveOnlyTheirFieldsAbsentAndNoRootGivesNothing)
{
    LinuxKernelFacts k(machineRoot("garbled"));
    // What the parsers make of each damage is tested with them.
    EXPECT_FALSE(k.loadAverages());
    EXPECT_FALSE(k.cpuTicks());
    EXPECT_EQ(k.bootTime(), 1700000000u);
    EXPECT_FALSE(k.cpuFrequencyHz()); // "abc" in cpufreq and "fast" in cpuinfo
    EXPECT_FALSE(k.caches().l1d);     // size "lots"
    EXPECT_FALSE(k.onlineCpus());
    EXPECT_FALSE(k.prettyHostname()); // empty file
    EXPECT_FALSE(k.model());

    LinuxKernelFacts missing("/nonexistent/root");
    EXPECT_FALSE(missing.identity() || missing.memInfo() || missing.vmStat() ||
                 missing.cpuTicks() || missing.osRelease().name);
}

TEST(KernelFactsFixtures, DemoModeReportsTheSimulatorMachine)
{
    LinuxKernelFacts k(machineRoot("laptop-one-battery"));
    DemoMode::setEnabled(true);
    const auto id = k.identity();
    DemoMode::setEnabled(false);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->machine, "i386");
    EXPECT_EQ(k.identity()->machine, "x86_64");
}
