#include "host/proc/LinuxProcessTable.h"
#include "host/proc/ProcessStatParser.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A stat line with the fields the reader uses set, the others zero.
QByteArray statLine(int pid, const char* comm, int ppid, int pgrp, int prio, long start)
{
    return QStringLiteral("%1 (%2) S %3 %4 0 0 -1 4194304 0 0 0 0 0 0 0 0 %5 0 1 0 %6 1000 100 "
                          "18446744073709551615 0 0 0 0 0 0 0 0 0 0 0 0 17 1 0 0 0 0 0\n")
        .arg(pid)
        .arg(QString::fromUtf8(comm))
        .arg(ppid)
        .arg(pgrp)
        .arg(prio)
        .arg(start)
        .toUtf8();
}

QByteArray status(unsigned realUid, unsigned effectiveUid)
{
    return QStringLiteral("Name:\tx\nUmask:\t0022\nState:\tS (sleeping)\nUid:\t%1\t%2\t%2\t%2\n"
                          "Gid:\t0\t0\t0\t0\n")
        .arg(realUid)
        .arg(effectiveUid)
        .toUtf8();
}

} // namespace

TEST(ProcessStatParser, NameRunsToTheLastParenthesisAndShortLinesAreRefused)
{
    // A process may call itself "a) 1 (b": the name ends at the last ')'.
    const std::string tricky = statLine(77, "a) 1 (b", 5, 77, -51, 12345).toStdString();
    const auto f = procstat::statLine(tricky);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->comm, "a) 1 (b");
    EXPECT_EQ(f->pid, 77);
    EXPECT_EQ(f->ppid, 5);
    EXPECT_EQ(f->pgrp, 77);
    EXPECT_EQ(f->priority, -51); // real-time: signed, not 205
    EXPECT_EQ(f->startTicks, 12345u);

    const std::string whole = statLine(8, "sh", 1, 8, 20, 5).toStdString();
    // Cut anywhere before the start time, the line gives no process.
    for (std::size_t cut :
         {std::size_t(0), std::size_t(4), whole.find(')') + 1, whole.find(" 1000 100") - 1})
        EXPECT_FALSE(procstat::statLine(whole.substr(0, cut))) << cut;
    EXPECT_FALSE(procstat::statLine("12 sh) S 1 1"));
    EXPECT_FALSE(procstat::statLine("x (sh) S 1 1 0 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 5 0"));
}

TEST(ProcessStatParser, EffectiveUidIsTheSecondUidField)
{
    EXPECT_EQ(procstat::effectiveUid(status(1000, 0).toStdString()), 0u);
    EXPECT_EQ(procstat::effectiveUid(status(0, 4294967294u).toStdString()), 4294967294u);
    EXPECT_FALSE(procstat::effectiveUid(""));
    EXPECT_FALSE(procstat::effectiveUid("Name:\tx\nUid:\t1000\n"));
    EXPECT_FALSE(procstat::effectiveUid("Uid:\t1000\tabc\t0\t0\n"));
}

TEST(LinuxProcessTable, ReadsFixtureSkipsBrokenProcessesAndFailsOnlyWithoutProc)
{
    QTemporaryDir root;
    const QString dir = root.path();
    testsupport::writeFile(dir, "proc/stat", "cpu 1 2 3 4\nbtime 1700000000\n");
    testsupport::writeFile(dir, "proc/1/stat", statLine(1, "init", 0, 1, 20, 250));
    testsupport::writeFile(dir, "proc/1/status", status(0, 0));
    testsupport::writeFile(dir, "proc/4321/stat", statLine(4321, "a) (b", 1, 4321, -2, 1000));
    testsupport::writeFile(dir, "proc/4321/status", status(1000, 1001));
    // Broken or half-gone processes: no row, no invented values.
    testsupport::writeFile(dir, "proc/50/stat", statLine(50, "empty", 1, 50, 20, 1));
    testsupport::writeFile(dir, "proc/50/status", "");
    testsupport::writeFile(dir, "proc/51/stat", statLine(51, "short", 1, 51, 20, 1).left(20));
    testsupport::writeFile(dir, "proc/51/status", status(0, 0));
    testsupport::writeFile(dir, "proc/52/status", status(0, 0)); // exited: no stat
    testsupport::writeFile(dir, "proc/self/stat", statLine(9, "self", 1, 9, 20, 1));

    LinuxProcessTable table(dir.toStdString(), 100);
    auto processes = table.processes();
    ASSERT_TRUE(processes);
    std::sort(processes->begin(), processes->end(),
              [](const ProcessRecord& a, const ProcessRecord& b) { return a.pid < b.pid; });
    ASSERT_EQ(processes->size(), 2u);
    const ProcessRecord& init = (*processes)[0];
    EXPECT_EQ(init.comm, "init");
    EXPECT_EQ(init.startTime, 1700000002); // boot time + 250 ticks at 100 Hz, whole seconds
    const ProcessRecord& p = (*processes)[1];
    EXPECT_EQ(p.comm, "a) (b");
    EXPECT_EQ(p.pid, 4321);
    EXPECT_EQ(p.ppid, 1);
    EXPECT_EQ(p.pgid, 4321);
    EXPECT_EQ(p.priority, -2);
    EXPECT_EQ(p.uid, 1001u);
    EXPECT_EQ(p.startTime, 1700000010);

    EXPECT_FALSE(LinuxProcessTable((dir + "/missing").toStdString()).processes());
}
