#include "screens/memory/MemoryTableController.h"

#include "screens/memory/MemoryGraphCell.h"
#include "screens/ScreenFakes.h"
#include "stats/StaticStats.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationItem.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>

#include <atomic>
#include <thread>

using namespace screenfakes;

namespace {

constexpr uint64_t MiB = 1ull << 20;

// The Memory page over a hand-set kernel; the run's waits cost nothing
// unless a test holds them.
struct MemoryRig {
    IdiomScope idiom{ui::UserInterfaceIdiom::Phone};
    TempDefaults store;
    fakes::Identity identity;
    fakes::Probe probe;
    fakes::FakeModem modem;
    std::unique_ptr<FakeStats> host;
    std::unique_ptr<StaticStats> facts;
    std::unique_ptr<MemoryTableController> page;
    std::atomic<bool> hold{false};
    std::atomic<int> sleeps{0};
    std::atomic<bool> stoppedInSleep{false};

    explicit MemoryRig(bool demo = false)
    {
        host = std::make_unique<FakeStats>(store.defaults, demo);
        fakes::Kernel& k = host->kernel;
        if (demo)
            k.id->machine = "i386";
        MemInfo m;
        m.total = 256 * MiB;
        m.free = 40 * MiB;
        m.active = 100 * MiB;
        m.inactive = 60 * MiB;
        m.unevictable = 20 * MiB;
        k.mem = m;
        VmStat vm;
        vm.pgfault = 5'000'000'000ull; // past 2^32, as on any machine up for days
        vm.pgpgin = 8;
        k.vm = vm;
        facts = std::make_unique<StaticStats>(StaticStats::Host{k, identity, probe, modem});
        // The demo walk stands still: the run's figures alone move it.
        MemoryTableController::Host h{host->stats, *facts};
        h.run.sleep = [this](std::chrono::milliseconds, std::stop_token stop) {
            ++sleeps;
            while (hold && !stop.stop_requested())
                std::this_thread::yield();
            stoppedInSleep = stop.stop_requested();
            return !stoppedInSleep;
        };
        page = std::make_unique<MemoryTableController>(h);
        page->awakeFromNib();
        page->view()->resize(320, 2000);
        page->view()->show();
        page->reloadData();
    }
    QString detail(int section, int row)
    {
        return page->tableView()->cellForRowAtIndexPath({section, row})->detailTextLabel()->text();
    }
    QString legend(int tag)
    {
        auto* cell = page->tableView()->cellForRowAtIndexPath({0, 0});
        return qobject_cast<QLabel*>(cell->viewWithTag(tag))->text();
    }
};

} // namespace

TEST(MemoryPage, RowsShowSizesAndUnsignedCountersOrNA)
{
    MemoryRig rig;
    EXPECT_EQ(rig.detail(0, 1), "256.0 MB");
    EXPECT_EQ(rig.detail(0, 2), "4 KB");
    EXPECT_EQ(rig.detail(2, 0), "5000000000");
    EXPECT_EQ(rig.detail(1, 0), "2");   // KiB read in, as 4 KiB pages
    EXPECT_EQ(rig.detail(2, 1), "N/A"); // no copy-on-write counter on Linux
    EXPECT_EQ(rig.detail(5, 2), "N/A");
    // Wired is the unevictable memory; free and its share of the total.
    EXPECT_EQ(rig.legend(MemoryGraphCell::kValueTag[MemoryFormat::Wired]), "20.0 MB");
    EXPECT_EQ(rig.legend(MemoryGraphCell::kValueTag[MemoryFormat::Free]), "40.0 MB");
    EXPECT_EQ(rig.legend(MemoryGraphCell::kShareTag[MemoryFormat::Free]), "15.6 %");
    EXPECT_EQ(rig.legend(MemoryGraphCell::kValueTag[MemoryFormat::Other]), "36.0 MB");

    // A tick while the user drags changes nothing; the next one refreshes.
    rig.host->kernel.vm->pgfault = 7;
    rig.page->scrollViewWillBeginDragging(nullptr);
    rig.page->updateMethod();
    EXPECT_EQ(rig.detail(2, 0), "5000000000");
    rig.page->scrollViewDidEndDragging(nullptr, false);
    rig.page->updateMethod();
    EXPECT_EQ(rig.detail(2, 0), "7");
}

TEST(MemoryPage, OtherIsNegativeWhenTheKindsExceedTheTotal)
{
    const MemoryFormat::Figures f = MemoryFormat::figures(100, 60, 30, 20, 10);
    EXPECT_FLOAT_EQ(f.value[MemoryFormat::Other], -20.0f);
    EXPECT_EQ(MemoryFormat::shareText(f.share(MemoryFormat::Other)), "-20.0 %");
    // An unreadable total gives 0.0 %, never "nan".
    EXPECT_EQ(
        MemoryFormat::shareText(MemoryFormat::figures(0, 1, 1, 1, 1).share(MemoryFormat::Free)),
        "0.0 %");
}

TEST(MemoryPage, SecondTapDuringARunIsIgnoredAndTheGraphShowsTheRunsFigures)
{
    MemoryRig rig;
    rig.hold = true;
    ui::BarButtonItem* button = rig.page->navigationItem()->rightBarButtonItem();
    ASSERT_EQ(button, rig.page->freeButton());
    EXPECT_EQ(button->title(), "Free");
    button->trigger();
    EXPECT_TRUE(rig.page->freeing());
    EXPECT_FALSE(button->isEnabled());
    while (rig.sleeps == 0)
        std::this_thread::yield();
    // Memory moves while the run holds its buffer; the graph keeps the run's.
    rig.host->kernel.mem->free = 100 * MiB;
    rig.page->freeMemory();
    rig.page->updateMethod();
    EXPECT_EQ(rig.legend(MemoryGraphCell::kValueTag[MemoryFormat::Free]), "40.0 MB");
    rig.hold = false;
    rig.page->waitForFreeRun();
    EXPECT_FALSE(rig.page->freeing());
    EXPECT_TRUE(button->isEnabled());
    // One run: paused once, then 100 MiB free was past its 25 MiB buffer.
    EXPECT_EQ(rig.sleeps, 1);
    EXPECT_EQ(rig.page->lastRun().passes, 2);
    EXPECT_EQ(rig.page->lastRun().end, FreeMemoryRun::End::Complete);
    EXPECT_FLOAT_EQ(rig.page->freeFigures().free, 100.0f);
    // The graph shows the end at once, without waiting for a tick.
    EXPECT_EQ(rig.legend(MemoryGraphCell::kValueTag[MemoryFormat::Free]), "100.0 MB");

    // Leaving during a pause ends the run at once.
    rig.host->kernel.mem->free = 1 * MiB;
    rig.hold = true;
    rig.page->freeMemory();
    while (rig.sleeps == 1)
        std::this_thread::yield();
    rig.page.reset();
    EXPECT_TRUE(rig.stoppedInSleep);
}

TEST(MemoryPage, DemoRunEndsAfterAboutTwentyPasses)
{
    MemoryRig rig(true);
    ASSERT_TRUE(rig.facts->simulator());
    rig.host->stats.waitForAsync();
    rig.page->freeMemory();
    rig.page->waitForFreeRun();
    EXPECT_EQ(rig.page->lastRun().end, FreeMemoryRun::End::Complete);
    EXPECT_GE(rig.page->lastRun().passes, 15);
    EXPECT_LE(rig.page->lastRun().passes, 26);
}
