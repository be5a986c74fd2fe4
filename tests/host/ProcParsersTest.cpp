#include "host/proc/ProcParsers.h"
#include "host/system/HostFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace procparse;

namespace {
std::string fixtureText(const std::string& rel)
{
    auto text = hostfile::read(testsupport::fixture("machines/" + rel));
    EXPECT_TRUE(text) << rel;
    return text.value_or("");
}
} // namespace

TEST(ProcStat, FoldsTheCpuLineIntoFourStates)
{
    EXPECT_EQ(bootTime(fixtureText("laptop-one-battery/proc/stat")), 1706800000u);
    // One digit per column, so a dropped, swapped or extra column shows:
    // system takes irq, softirq and steal; the guest columns are already in user.
    const auto d = cpuLine("cpu  1 20 300 4000 50000 600000 7000000 80000000 9 9\n");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->user, 1u);
    EXPECT_EQ(d->nice, 20u);
    EXPECT_EQ(d->system, 87600300u);
    EXPECT_EQ(d->idle, 54000u);
    // A virtual machine's line with steal time.
    EXPECT_EQ(cpuLine(fixtureText("vm-x86/proc/stat"))->system, 7404u + 137 + 7101);
}

TEST(ProcStat, OldKernelWithFourColumnsAndDamagedLines)
{
    const auto old = cpuLine("cpu  10 20 30 40\nbtime 5\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->system, 30u);
    EXPECT_EQ(old->idle, 40u);
    EXPECT_FALSE(cpuLine("cpu  10 20 30\n"));  // too few columns
    EXPECT_FALSE(cpuLine("cpu  10 20 30 40")); // cut before the newline
    EXPECT_FALSE(cpuLine(""));
    const std::string garbled = fixtureText("garbled/proc/stat");
    EXPECT_FALSE(cpuLine(garbled));
    EXPECT_EQ(bootTime(garbled), 1700000000u); // the rest of the file is still read
    EXPECT_FALSE(bootTime("btime 17000"));     // truncated
}

TEST(ProcMeminfo, ReadsKibAsBytesAndDropsTruncatedLines)
{
    const MemInfo m = meminfo(fixtureText("laptop-one-battery/proc/meminfo"));
    EXPECT_EQ(m.total, 16082140ull * 1024);
    EXPECT_EQ(m.free, 9120400ull * 1024);
    EXPECT_EQ(m.available, 12500000ull * 1024);
    EXPECT_EQ(m.active, 3200000ull * 1024); // not "Active(anon)"
    EXPECT_EQ(m.inactive, 2100000ull * 1024);
    EXPECT_EQ(m.page_tables, 52000ull * 1024);

    const MemInfo g = meminfo(fixtureText("garbled/proc/meminfo"));
    EXPECT_EQ(g.total, 8000000ull * 1024);
    EXPECT_FALSE(g.free); // "xyz kB"
    EXPECT_EQ(g.active, 1234ull * 1024);
    EXPECT_FALSE(g.inactive); // cut off mid-number
    EXPECT_FALSE(g.unevictable);
}

TEST(ProcVmstat, CountersAndDamage)
{
    const VmStat v = vmstat(fixtureText("laptop-one-battery/proc/vmstat"));
    EXPECT_EQ(v.pgpgin, 4520012u);
    EXPECT_EQ(v.pgpgout, 8800404u);
    EXPECT_EQ(v.pgfault, 77123456u);
    EXPECT_EQ(v.pgactivate, 1234567u);
    EXPECT_EQ(v.pglazyfreed, 4321u); // not "pglazyfree"
    const VmStat g = vmstat(fixtureText("garbled/proc/vmstat"));
    EXPECT_EQ(g.pgpgin, 100u);
    EXPECT_FALSE(g.pgpgout);
    EXPECT_FALSE(g.pgfault); // truncated last line
    // Counters past 2^32 stay whole.
    EXPECT_EQ(vmstat("pgfault 18446744073709551615\n").pgfault, UINT64_MAX);
    EXPECT_FALSE(vmstat("pgfault 18446744073709551616\n").pgfault);
}

TEST(KeyValueFiles, QuotesEscapesAndBrokenLines)
{
    const auto kv = keyValues("# comment\nNAME=\"Debian GNU/Linux\"\nVERSION_ID='12'\nID=debian\n"
                              "PRETTY_HOSTNAME=\"Ana\\\"s \\\\ box\"\nBROKEN=\"open\n=novalue\n");
    EXPECT_EQ(kv.at("NAME"), "Debian GNU/Linux");
    EXPECT_EQ(kv.at("VERSION_ID"), "12");
    EXPECT_EQ(kv.at("ID"), "debian");
    EXPECT_EQ(kv.at("PRETTY_HOSTNAME"), "Ana\"s \\ box");
    EXPECT_EQ(kv.count("BROKEN"), 0u);
    EXPECT_EQ(kv.size(), 4u);
}

TEST(CpuInfo, FieldsAndFrequency)
{
    const std::string laptop = fixtureText("laptop-one-battery/proc/cpuinfo");
    EXPECT_EQ(cpuinfoField(laptop, "model name"), "11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz");
    EXPECT_EQ(cpuinfoHz(laptop), 1200000000u);
    EXPECT_EQ(cpuinfoHz("cpu MHz\t\t: 2793.436\n"), 2793436000u);
    EXPECT_EQ(cpuinfoHz("cpu MHz\t\t: 800.5\n"), 800500000u);
    EXPECT_FALSE(cpuinfoHz(fixtureText("garbled/proc/cpuinfo")));
    EXPECT_EQ(cpuinfoField(fixtureText("arm-board/proc/cpuinfo"), "Hardware"), "BCM2835");
    EXPECT_FALSE(cpuinfoField(fixtureText("arm-board/proc/cpuinfo"), "model name"));
}

TEST(SmallFormats, CpuListsCacheSizesAndKernelBuild)
{
    EXPECT_EQ(cpuListCount("0-7\n"), 8u);
    EXPECT_EQ(cpuListCount("0"), 1u);
    EXPECT_EQ(cpuListCount("0-3,6,8-9"), 7u);
    EXPECT_FALSE(cpuListCount("0-"));
    EXPECT_FALSE(cpuListCount("3-1"));
    EXPECT_FALSE(cpuListCount(""));

    EXPECT_EQ(cacheSize("48K"), 48u * 1024);
    EXPECT_EQ(cacheSize("1M\n"), 1024u * 1024);
    EXPECT_EQ(cacheSize("512"), 512u);
    EXPECT_FALSE(cacheSize("lots"));

    EXPECT_EQ(kernelBuild("#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1"), 1u);
    EXPECT_EQ(kernelBuild("#127-Ubuntu SMP"), 127u);
    EXPECT_FALSE(kernelBuild("no build number here"));
    EXPECT_FALSE(kernelBuild("#SMP"));
}
