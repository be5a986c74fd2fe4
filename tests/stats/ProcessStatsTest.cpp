#include "ProcessFakes.h"

#include "host/proc/LinuxProcessTable.h"
#include "host/system/PasswdUserDirectory.h"
#include "stats/ProcessStats.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

namespace {

constexpr std::uint32_t kMobile = 501;

struct Rig {
    std::shared_ptr<fakes::Processes> table = std::make_shared<fakes::Processes>();
    std::shared_ptr<fakes::Users> users = std::make_shared<fakes::Users>();
    double now = 1700000000.0;
    ProcessStats stats{table, users, kMobile, [this] { return now; }};

    Rig() { users->names = {{0, "root"}, {kMobile, "mobile"}, {1000, "ana"}, {1001, "Root"}}; }

    // Group names with their pids, as "name:pid,pid|name:pid".
    std::string layout()
    {
        std::string out;
        for (const ProcessUserGroup& g : stats.snapshot()->processArray) {
            out += (out.empty() ? "" : "|") + g.name + ":";
            for (std::size_t i = 0; i < g.processList.size(); ++i)
                out += (i ? "," : "") + std::to_string(g.processList[i].pid);
        }
        return out;
    }
};

} // namespace

TEST(ProcessStats, GroupsByUserOwnerThenRootThenUnknownThenByName)
{
    Rig rig;
    rig.table->add(40, kMobile);
    rig.table->add(7, 1000);
    rig.table->add(512, kMobile);
    rig.table->add(1, 0);
    rig.table->add(9000, 4242); // no user entry
    rig.table->add(300, 1001);  // "Root" is not "root"
    rig.table->add(88, 4243);   // no entry either: same empty group
    rig.table->add(2, 0);
    rig.stats.refresh();
    // "Root" < "ana" in byte order; the empty name before every other name.
    EXPECT_EQ(rig.layout(), "mobile:512,40|root:2,1|:9000,88|Root:300|ana:7");

    // The invariants on the whole snapshot.
    std::set<std::int32_t> seen;
    for (const ProcessUserGroup& g : rig.stats.snapshot()->processArray) {
        ASSERT_FALSE(g.processList.empty());
        for (const ProcessInfo& p : g.processList) {
            EXPECT_EQ(p.user, g.name);
            EXPECT_TRUE(seen.insert(p.pid).second);
        }
    }
    EXPECT_EQ(seen.size(), rig.table->table->size());

    // Without the owner's processes, root leads.
    rig.table->table->clear();
    rig.table->add(5, 1000);
    rig.table->add(1, 0);
    rig.stats.refresh();
    EXPECT_EQ(rig.layout(), "root:1|ana:5");
}

TEST(ProcessStats, RecordCarriesTheKernelFieldsAndAFailedReadKeepsThePreviousGroups)
{
    Rig rig;
    ProcessRecord r;
    r.comm = "irq/9-acpi";
    r.pid = 120;
    r.ppid = 2;
    r.pgid = 0;
    r.priority = -51;
    r.uid = 0;
    r.startTime = 1700000000 - 3661;
    rig.table->table->push_back(r);
    rig.now += 0.9; // fractions are cut, not rounded
    rig.stats.refresh();
    const ProcessInfo p = rig.stats.processArray().at(0).processList.at(0);
    EXPECT_EQ(p.name, "irq/9-acpi");
    EXPECT_EQ(p.runtime, "1h 1m 1s");
    EXPECT_EQ(p.user, "root");
    EXPECT_EQ(p.pid, 120);
    EXPECT_EQ(p.ppid, 2);
    EXPECT_EQ(p.prio, -51);
    EXPECT_EQ(p.uid, 0);

    rig.table->table.reset(); // /proc unreadable
    rig.stats.refresh();
    EXPECT_EQ(rig.layout(), "root:120");
}

TEST(ProcessStats, RuntimeTexts)
{
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0m 0s"},           {59, "0m 59s"},         {3600, "1h 0m 0s"},
        {3661, "1h 1m 1s"},     {86400, "1d 0h 0m 0s"}, {86405, "1d 0h 0m 5s"},
        {90000, "1d 1h 0m 0s"}, {-5, "0m -5s"},         {-3661, "-1h -1m -1s"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(ProcessStats::runtimeText(seconds), text) << seconds;
    // A clock 100 years off does not wrap into a negative time.
    EXPECT_EQ(ProcessStats::runtimeText(std::int64_t(36525) * 86400), "36525d 0h 0m 0s");
}

TEST(ProcessStats, RenamedChildIsFoundUnderItsUserWithItsParent)
{
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::prctl(PR_SET_NAME, "w) 1 (x", 0, 0, 0);
        char c = 1;
        (void)!::write(ready[1], &c, 1);
        (void)!::read(release[0], &c, 1);
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);

    ProcessStats stats(std::make_shared<LinuxProcessTable>(),
                       std::make_shared<PasswdUserDirectory>(), ::geteuid());
    stats.refresh();
    (void)!::write(release[1], &c, 1);
    ::waitpid(child, nullptr, 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        ::close(fd);

    const passwd* me = ::getpwuid(::geteuid());
    ASSERT_NE(me, nullptr);
    const auto groups = stats.processArray();
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups[0].name, me->pw_name); // the user running the program leads
    const ProcessInfo* found = nullptr;
    for (const ProcessUserGroup& g : groups)
        for (const ProcessInfo& p : g.processList)
            if (p.pid == child)
                found = &p;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name, "w) 1 (x");
    EXPECT_EQ(found->ppid, ::getpid());
    EXPECT_EQ(found->user, me->pw_name);
    EXPECT_EQ(found->uid, static_cast<std::int32_t>(::geteuid()));
    EXPECT_EQ(found->runtime.substr(0, 3), "0m ");
}
