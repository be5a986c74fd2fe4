#include "host/proc/LinuxProcessTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// A stat line with the fields the reader uses set, the others zero.
QByteArray statLine(int pid, const char* comm, int ppid, int prio, long start)
{
    return QStringLiteral("%1 (%2) S %3 %1 0 0 -1 4194304 0 0 0 0 0 0 0 0 %4 0 1 0 %5 1000 100 "
                          "18446744073709551615 0 0 0 0 0 0 0 0 0 0 0 0 17 1 0 0 0 0 0\n")
        .arg(pid)
        .arg(QString::fromUtf8(comm))
        .arg(ppid)
        .arg(prio)
        .arg(start)
        .toUtf8();
}
} // namespace

TEST(LinuxProcessTable, ReadsFixtureSkipsBrokenProcessesAndFailsOnlyWithoutProc)
{
    QTemporaryDir root;
    const auto write = [&](const QString& file, const QByteArray& text) {
        testsupport::writeFile(root.path(), "proc/" + file, text);
    };
    write("stat", "cpu 1 2 3 4\nbtime 1700000000\n");
    write("1/stat", statLine(1, "init", 0, 20, 250));
    write("1/status", "Name:\tinit\nUid:\t0\t0\t0\t0\n");
    // A process may call itself "a) 1 (b": the name ends at the last ')'.
    write("4321/stat", statLine(4321, "a) 1 (b", 1, -2, 1000));
    write("4321/status", "Name:\tx\nState:\tS\nUid:\t1000\t1001\t1001\t1001\nGid:\t0\n");
    // Broken or half-gone processes give no row and no invented values.
    write("50/stat", statLine(50, "empty", 1, 20, 1));
    write("50/status", "");
    write("52/status", "Uid:\t0\t0\t0\t0\n"); // exited before its stat was read
    write("self/stat", statLine(9, "self", 1, 20, 1));
    const QByteArray whole = statLine(51, "short", 1, 20, 1);
    write("51/status", "Uid:\t0\t0\t0\t0\n");

    // Cut anywhere before the start time, a stat line gives no process.
    for (qsizetype cut :
         {qsizetype(0), qsizetype(4), whole.indexOf(')') + 1, whole.indexOf(" 1000 100") - 1}) {
        write("51/stat", whole.left(cut));
        auto processes = LinuxProcessTable(root.path().toStdString(), 100).processes();
        ASSERT_TRUE(processes);
        std::sort(processes->begin(), processes->end(),
                  [](const ProcessRecord& a, const ProcessRecord& b) { return a.pid < b.pid; });
        ASSERT_EQ(processes->size(), 2u) << cut;
        EXPECT_EQ((*processes)[0].startTime, 1700000002); // boot + 250 ticks at 100 Hz
        const ProcessRecord& p = (*processes)[1];
        EXPECT_EQ(p.comm, "a) 1 (b");
        EXPECT_EQ(p.pid, 4321);
        EXPECT_EQ(p.ppid, 1);
        EXPECT_EQ(p.pgid, 4321);
        EXPECT_EQ(p.priority, -2); // real-time: signed, not 254
        EXPECT_EQ(p.uid, 1001u);   // effective, not real
        EXPECT_EQ(p.startTime, 1700000010);
    }
    EXPECT_FALSE(LinuxProcessTable((root.path() + "/missing").toStdString()).processes());
}
