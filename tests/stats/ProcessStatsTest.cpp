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

TEST(ProcessStats, GroupsByUserOwnerThenRootThenUnknownThenByName)
{
    auto table = std::make_shared<fakes::Processes>();
    auto users = std::make_shared<fakes::Users>();
    users->names = {{0, "root"}, {501, "mobile"}, {1000, "ana"}, {1001, "Root"}};
    ProcessStats stats(table, users, 501, [] { return 1700000000.9; });
    const auto layout = [&] { // "user:pid,pid|user:pid"
        std::string out;
        std::set<std::int32_t> seen;
        for (const ProcessUserGroup& g : stats.snapshot()->processArray) {
            out += (out.empty() ? "" : "|") + g.name + ":";
            EXPECT_FALSE(g.processList.empty());
            for (const ProcessInfo& p : g.processList) {
                out += (out.back() == ':' ? "" : ",") + std::to_string(p.pid);
                EXPECT_EQ(p.user, g.name);
                EXPECT_TRUE(seen.insert(p.pid).second);
            }
        }
        return out;
    };
    for (auto [pid, uid] : {std::pair{40, 501},
                            {7, 1000},
                            {512, 501},
                            {1, 0},
                            {9000, 4242},
                            {300, 1001},
                            {88, 4243},
                            {2, 0}})
        table->add(pid, uid, "p", 1700000000 - 3661);
    table->table->at(3).priority = -51;
    stats.refresh();
    // Unknown users share the empty name, which sorts first among the rest;
    // "Root" is not "root" and sorts by bytes before "ana".
    EXPECT_EQ(layout(), "mobile:512,40|root:2,1|:9000,88|Root:300|ana:7");
    const ProcessInfo init = stats.processArray().at(1).processList.at(1);
    EXPECT_EQ(init.runtime, "1h 1m 1s"); // fractions cut
    EXPECT_EQ(init.prio, -51);

    // Without the owner's processes, root leads.
    table->table->clear();
    table->add(5, 1000);
    table->add(1, 0);
    stats.refresh();
    EXPECT_EQ(layout(), "root:1|ana:5");
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
    char c = 1;
    if (child == 0) {
        ::prctl(PR_SET_NAME, "w) 1 (x", 0, 0, 0);
        (void)!::write(ready[1], &c, 1);
        (void)!::read(release[0], &c, 1);
        ::_exit(0);
    }
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ProcessStats stats(std::make_shared<LinuxProcessTable>(),
                       std::make_shared<PasswdUserDirectory>(), ::geteuid());
    stats.refresh();
    (void)!::write(release[1], &c, 1);
    ::waitpid(child, nullptr, 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        ::close(fd);

    const std::string me = ::getpwuid(::geteuid())->pw_name;
    const auto groups = stats.processArray();
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups[0].name, me); // the user running the program leads
    std::string found;
    for (const ProcessUserGroup& g : groups)
        for (const ProcessInfo& p : g.processList)
            if (p.pid == child)
                found = p.name + "|" + p.user + "|" + std::to_string(p.ppid) + "|" +
                        p.runtime.substr(0, 3);
    EXPECT_EQ(found, "w) 1 (x|" + me + "|" + std::to_string(::getpid()) + "|0m ");
}
