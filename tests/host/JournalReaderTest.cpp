#include "host/journal/FallbackJournal.h"
#include "host/journal/KernelRingReader.h"
#include "host/journal/SdJournalReader.h"
#include "host/journal/SyslogFileReader.h"
#include "JournalFiles.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::JournalFiles;

namespace {

constexpr uint64_t kStart = 1700000000000000; // usec

// n entries 1.5 s apart; even ones name a syslog identifier, odd ones only
// a command name; every fifth lacks a process number.
QList<JournalFiles::Entry> entries(int n, uint64_t start = kStart)
{
    QList<JournalFiles::Entry> out;
    for (int i = 0; i < n; ++i) {
        JournalFiles::Entry fields{{"PRIORITY", QByteArray::number(i % 8)},
                                   {"MESSAGE", "message " + QByteArray::number(i)}};
        if (i % 2 == 0)
            fields += {"SYSLOG_IDENTIFIER", "ident" + QByteArray::number(i)};
        fields += {"_COMM", "comm" + QByteArray::number(i)};
        if (i % 5 != 0)
            fields += {"_PID", QByteArray::number(1000 + i)};
        out += JournalFiles::entry(start + uint64_t(i) * 1500000, fields);
    }
    return out;
}

} // namespace

TEST(JournalReader, NewestWindowInOrderWithTheFiveKeys)
{
    QTemporaryDir d;
    ASSERT_TRUE(JournalFiles::make(d.filePath("system.journal"), entries(40)));
    SdJournalReader reader(d.path(), {});
    ASSERT_TRUE(reader.isAvailable());

    const auto window = reader.newest(12);
    ASSERT_EQ(window.size(), 12u);
    for (size_t k = 0; k < window.size(); ++k) {
        const int i = 39 - int(k);
        const LogRecord& r = window[k];
        SCOPED_TRACE(i);
        EXPECT_EQ(r.value("Time"),
                  QString::asprintf("%llu.%06llu", (kStart + i * 1500000ull) / 1000000,
                                    (kStart + i * 1500000ull) % 1000000));
        EXPECT_EQ(r.value("Message"), QStringLiteral("message %1").arg(i));
        EXPECT_EQ(r.value("Level"), QString::number(i % 8));
        // The syslog identifier wins over the command name.
        EXPECT_EQ(r.value("Sender"),
                  (i % 2 == 0 ? QStringLiteral("ident%1") : QStringLiteral("comm%1")).arg(i));
        EXPECT_EQ(r.contains("PID"), i % 5 != 0);
        if (i % 5 != 0) {
            EXPECT_EQ(r.value("PID"), QString::number(1000 + i));
        }
    }
    // The whole journal when the window is larger than it.
    EXPECT_EQ(reader.newest(1000).size(), 40u);
    EXPECT_TRUE(reader.newest(0).empty());
}

TEST(JournalReader, BinaryAndHugeMessagesAndMissingFields)
{
    QTemporaryDir d;
    const QByteArray huge(300 * 1024, 'x');
    QList<JournalFiles::Entry> list{
        JournalFiles::entry(
            kStart, {{"MESSAGE", QByteArray("bad \xff\xfe utf8 \0 nul", 17)}, {"PRIORITY", "3"}}),
        JournalFiles::entry(kStart + 1, {{"MESSAGE", huge}}),
        JournalFiles::entry(kStart + 2, {{"SYSLOG_IDENTIFIER", "quiet"}}),
    };
    ASSERT_TRUE(JournalFiles::make(d.filePath("a.journal"), list));
    const auto window = SdJournalReader(d.path(), {}).newest(10);
    ASSERT_EQ(window.size(), 3u);
    EXPECT_FALSE(window[0].contains("Message"));
    EXPECT_FALSE(window[0].contains("Level"));
    EXPECT_EQ(window[0].value("Sender"), "quiet");
    // Whole, past the journal's default 64 KiB field threshold.
    EXPECT_EQ(window[1].value("Message").size(), huge.size());
    const QString bad = window[2].value("Message");
    EXPECT_TRUE(bad.startsWith("bad ")) << bad.toStdString();
    EXPECT_TRUE(bad.contains(QChar(0xFFFD)));
    EXPECT_FALSE(bad.contains(QChar(0)));
    EXPECT_TRUE(bad.endsWith(" nul"));
}

TEST(JournalReader, RotatedSetReadsAcrossFiles)
{
    QTemporaryDir d;
    // Older entries in the archived file, newer in the active one.
    ASSERT_TRUE(JournalFiles::make(d.filePath("system@0001-0001.journal"), entries(10)));
    ASSERT_TRUE(JournalFiles::make(d.filePath("system.journal"), entries(10, kStart + 60000000)));
    SdJournalReader byFolder(d.path(), {});
    SdJournalReader byFiles({},
                            {d.filePath("system.journal"), d.filePath("system@0001-0001.journal")});
    for (SdJournalReader* reader : {&byFolder, &byFiles}) {
        // Also through the handle an availability check leaves open.
        ASSERT_TRUE(reader->isAvailable());
        const auto window = reader->newest(15);
        ASSERT_EQ(window.size(), 15u);
        for (size_t k = 1; k < window.size(); ++k)
            EXPECT_GT(window[k - 1].value("Time").toDouble(), window[k].value("Time").toDouble());
        // Ten from the newer file, then the five newest of the older one.
        EXPECT_EQ(window[9].value("Time").toDouble(), (kStart + 60000000) / 1e6);
        EXPECT_EQ(window[10].value("Message"), "message 9");
    }
}

TEST(JournalReader, BadJournalsGiveWhatCanBeRead)
{
    QTemporaryDir d;
    // An empty folder and a folder that does not exist: nothing to read.
    EXPECT_FALSE(SdJournalReader(d.path(), {}).isAvailable());
    EXPECT_TRUE(SdJournalReader(d.path(), {}).newest(10).empty());
    EXPECT_TRUE(SdJournalReader(d.filePath("missing"), {}).newest(10).empty());

    // A file cut in the middle: no crash, at most what was written.
    ASSERT_TRUE(JournalFiles::make(d.filePath("whole.journal"), entries(200)));
    QFile whole(d.filePath("whole.journal"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QDir().mkpath(d.filePath("cut"));
    QFile cut(d.filePath("cut/cut.journal"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() * 2 / 3));
    cut.close();
    const auto window = SdJournalReader(d.filePath("cut"), {}).newest(500);
    EXPECT_LE(window.size(), 200u);
    for (const LogRecord& r : window)
        EXPECT_TRUE(r.value("Message").startsWith("message "));

    // Garbage with a journal's name.
    testsupport::writeFile(d.filePath("junk"), "system.journal", QByteArray(4096, 'z'));
    EXPECT_TRUE(SdJournalReader(d.filePath("junk"), {}).newest(10).empty());
}

TEST(JournalReader, StopRequestEndsTheReadEarly)
{
    QTemporaryDir d;
    ASSERT_TRUE(JournalFiles::make(d.filePath("a.journal"), entries(50)));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_TRUE(SdJournalReader(d.path(), {}).newest(50, stop.get_token()).empty());
}

TEST(SyslogFile, BothStampFormsNewestFirstGarbageSkipped)
{
    QTemporaryDir dir;
    // Now is 2024-01-10 UTC: "Dec 31" is last year, "Jan  9" this year.
    const double now = 1704888000;
    testsupport::writeFile(dir.path(), "syslog",
                           "Dec 31 23:59:58 host cron[77]: old year\n"
                           "\x01\x02 garbage line\n"
                           "Jan  9 08:00:00 host kernel: no pid here\n"
                           "2024-01-09T09:30:15.250000+01:00 host sshd[4242]: Accepted key\n"
                           "<11>1 2024-01-09T10:00:00Z host app 99 ID47 - rfc five four\n"
                           "Foo 12 10:00:00 host x: bad month\n"
                           "2024-01-09T11:00:00Z host tagless text without colon\n");
    SyslogFileReader reader(dir.filePath("syslog"), [now] { return now; });
    ASSERT_TRUE(reader.isAvailable());
    const auto window = reader.newest(100);
    ASSERT_EQ(window.size(), 5u);
    EXPECT_EQ(window[0].value("Message"), "tagless text without colon");
    EXPECT_FALSE(window[0].contains("Sender"));
    EXPECT_EQ(window[1].value("Sender"), "app");
    EXPECT_EQ(window[1].value("PID"), "99");
    EXPECT_EQ(window[1].value("Level"), "3");
    EXPECT_EQ(window[1].value("Message"), "rfc five four");
    EXPECT_EQ(window[2].value("Time"), "1704789015.250"); // 08:30:15.25 UTC
    EXPECT_EQ(window[2].value("Sender"), "sshd");
    EXPECT_EQ(window[2].value("PID"), "4242");
    EXPECT_EQ(window[3].value("Sender"), "kernel");
    EXPECT_FALSE(window[3].contains("PID"));
    EXPECT_EQ(window[3].value("Time"), "1704787200.000");
    EXPECT_EQ(window[4].value("Time"), "1704067198.000"); // 2023-12-31 23:59:58 UTC
    EXPECT_EQ(reader.newest(2).size(), 2u);
}

TEST(SyslogFile, TailReadAcrossBlocksKeepsLinesWhole)
{
    QTemporaryDir dir;
    QByteArray text;
    for (int i = 0; i < 5000; ++i)
        text += "2024-01-09T10:00:00Z host app[1]: line " + QByteArray::number(i) + ' ' +
                QByteArray(i % 97, 'p') + '\n';
    testsupport::writeFile(dir.path(), "messages", text);
    const auto window = SyslogFileReader(dir.filePath("messages")).newest(4000);
    ASSERT_EQ(window.size(), 4000u);
    for (int k = 0; k < 4000; ++k)
        ASSERT_TRUE(window[k].value("Message").startsWith(QStringLiteral("line %1 ").arg(4999 - k)))
            << k;
}

TEST(SyslogFile, FallbackChainTakesSyslogWithoutJournal)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.path(), "syslog", "2024-01-09T10:00:00Z h a[1]: from syslog\n");
    testsupport::writeFile(dir.path(), "kmsg", "6,1,5000000,-;from kernel\n");
    std::vector<std::unique_ptr<Journal>> chain;
    chain.push_back(std::make_unique<SdJournalReader>(dir.filePath("no-journal"), QStringList{}));
    chain.push_back(std::make_unique<SyslogFileReader>(dir.filePath("absent")));
    chain.push_back(std::make_unique<SyslogFileReader>(dir.filePath("syslog")));
    chain.push_back(std::make_unique<KernelRingReader>(dir.filePath("kmsg"), [] { return 1e9; }));
    FallbackJournal journal(std::move(chain));
    const auto window = journal.newest(10);
    ASSERT_EQ(window.size(), 1u);
    EXPECT_EQ(window[0].value("Message"), "from syslog");
    EXPECT_EQ(journal.name(), dir.filePath("syslog"));

    QFile::remove(dir.filePath("syslog"));
    const auto kernel = journal.newest(10);
    ASSERT_EQ(kernel.size(), 1u);
    EXPECT_EQ(kernel[0].value("Message"), "from kernel");
    EXPECT_EQ(kernel[0].value("Time").toDouble(), 1e9 + 5);
}

TEST(KernelRing, RecordsNewestFirstContinuationsSkipped)
{
    const QByteArray bytes = "14,1,1000,-;first \\x1b[0m\n"
                             " SUBSYSTEM=usb\n"
                             "not a record\n"
                             "3,2,2500000,c;second\n"
                             "x,3,3,-;bad priority\n";
    const auto records = KernelRingReader::parse(bytes, 100.0, 10);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].value("Message"), "second");
    EXPECT_EQ(records[0].value("Level"), "3");
    EXPECT_DOUBLE_EQ(records[0].value("Time").toDouble(), 102.5);
    EXPECT_EQ(records[1].value("Message"), QStringLiteral("first \x1b[0m"));
    EXPECT_EQ(records[1].value("Level"), "6"); // facility bits dropped
    EXPECT_EQ(records[1].value("Sender"), "kernel");
    EXPECT_EQ(KernelRingReader::parse(bytes, 0, 1).size(), 1u);
}
