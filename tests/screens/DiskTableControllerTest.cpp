// The File Statistics page over a library whose counts the test lets out one
// at a time, with a hand-set clock.
#include "screens/files/DiskTableController.h"

#include "stats/DeviceFacts.h"
#include "support/IdiomScope.h"
#include "support/TestSupport.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QLabel>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Each count waits for a permit from the test; a stopped pass returns at once.
class SteppedLibrary : public MediaLibrary {
public:
    bool countAll(const std::string&, std::stop_token stop, const Counted& counted) override
    {
        const int pass = ++passes;
        for (int q = 0; q < kMediaQueryCount; ++q) {
            {
                std::unique_lock lock(m_mutex);
                if (!m_permit.wait(lock, stop, [this] { return m_permits > 0; })) {
                    ++stopped;
                    return false;
                }
                --m_permits;
            }
            counted(static_cast<MediaQuery>(q), value(pass, q));
            lastQuery = q;
            ++reported;
        }
        return true;
    }
    void release(int n)
    {
        std::lock_guard lock(m_mutex);
        m_permits += n;
        m_permit.notify_all();
    }
    // Podcasts count 0: zero must not read as "Loading...".
    static int32_t value(int pass, int query) { return query == 3 ? 0 : pass * 100 + query; }

    std::atomic<int> passes{0}, stopped{0}, reported{0}, lastQuery{-1};

private:
    std::mutex m_mutex;
    std::condition_variable_any m_permit;
    int m_permits = 0;
};

struct PageRig {
    testsupport::IdiomScope idiom{ui::UserInterfaceIdiom::Phone};
    SteppedLibrary library;
    DeviceFacts facts;
    double now = 5000.0;
    BackgroundWorker worker{"test-media"};
    DiskTableController page{DiskTableController::Host{
        library, [] { return std::string("/nowhere"); }, facts, [this] { return now; }, worker}};

    PageRig()
    {
        page.view()->resize(320, 480);
        page.view()->show();
    }
    void appear()
    {
        page.beginAppearance(false);
        page.endAppearance(false);
    }
    void disappear()
    {
        page.beginDisappearance(false);
        page.endDisappearance(false);
    }
    // What the table shows now, without asking the page again.
    QStringList shown()
    {
        QStringList texts;
        for (int r = 0; r < kMediaQueryCount; ++r)
            texts << page.tableView()->cellForRowAtIndexPath({0, r})->detailTextLabel()->text();
        return texts;
    }
    // Lets n counts out and waits until they are in the page's numbers.
    void let(int n, int pass)
    {
        const int before = library.reported;
        library.release(n);
        ASSERT_TRUE(testsupport::waitUntil([&] {
            const int last = library.lastQuery;
            return library.reported == before + n &&
                   page.number(static_cast<MediaQuery>(last)) == SteppedLibrary::value(pass, last);
        }));
    }
};

const QStringList kAllLoading(kMediaQueryCount, QStringLiteral("Loading..."));

QStringList numbersOfPass(int pass)
{
    QStringList list;
    for (int q = 0; q < kMediaQueryCount; ++q)
        list << QString::number(SteppedLibrary::value(pass, q));
    return list;
}

} // namespace

TEST(FilesPage, RowsWaitAsLoadingAndRedrawForPartsOnlyAfterHalfASecond)
{
    PageRig rig;
    rig.appear();
    EXPECT_EQ(rig.shown(), kAllLoading);
    EXPECT_TRUE(rig.page.isLoading());

    // Within half a second of the page's load nothing partial is drawn...
    rig.now += 0.5;
    rig.let(8, 1);
    EXPECT_EQ(rig.shown(), kAllLoading);
    // ...and the last count shows them all in one step.
    rig.let(1, 1);
    EXPECT_EQ(rig.shown(), numbersOfPass(1));
    EXPECT_EQ(rig.shown()[3], "0");
    EXPECT_DOUBLE_EQ(rig.page.refreshDate(), 5000.5);
    EXPECT_FALSE(rig.page.isLoading());

    // The next appearance starts over; a part arriving 0.6 s after the last
    // full reload is drawn at once, the rows after it still wait.
    rig.disappear();
    rig.appear();
    EXPECT_EQ(rig.shown(), kAllLoading);
    rig.now += 0.6;
    rig.let(2, 2);
    EXPECT_EQ(rig.shown().mid(0, 3), (QStringList{"200", "201", "Loading..."}));
    EXPECT_DOUBLE_EQ(rig.page.refreshDate(), 5000.5) << "a partial reload keeps the window";
    rig.let(7, 2);
    EXPECT_EQ(rig.shown(), numbersOfPass(2));
    EXPECT_DOUBLE_EQ(rig.page.refreshDate(), 5001.1);
}

TEST(FilesPage, ASupersededPassLeavesNoTrace)
{
    PageRig rig;
    rig.appear();
    rig.let(2, 1);
    // A third count of the first pass is on its way to the UI thread when the
    // page appears again.
    rig.library.release(1);
    while (rig.library.reported < 3)
        std::this_thread::yield();
    rig.disappear();
    rig.appear();
    EXPECT_EQ(rig.shown(), kAllLoading);
    ASSERT_TRUE(testsupport::waitUntil([&] { return rig.library.stopped == 1; }));
    QCoreApplication::processEvents(); // delivers the old count
    EXPECT_EQ(rig.page.number(MediaQuery::Artists), DiskTableController::kNotCounted);

    rig.now += 1;
    rig.let(kMediaQueryCount, 2);
    EXPECT_EQ(rig.shown(), numbersOfPass(2));
    EXPECT_EQ(rig.library.passes, 2);
}

TEST(FilesPage, DemoNumbersShowAtOnceWhileThePassStillRuns)
{
    PageRig rig;
    rig.facts.simulator = true;
    rig.appear();
    const QStringList demo{"3704", "424", "138", "0", "0", "0", "19", "4", "0"};
    EXPECT_EQ(rig.shown(), demo);
    EXPECT_FALSE(rig.page.isLoading()) << "nothing for a dump to wait for";
    rig.now += 1;
    rig.let(kMediaQueryCount, 1);
    EXPECT_EQ(rig.shown(), demo);
    EXPECT_EQ(rig.library.passes, 1);
}
