#include "host/settings/Defaults.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <sys/stat.h>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An unterminated section header is a format error for the INI reader.
const QByteArray kBroken = "[General\nkAlertType=2\n\x01\x02garbage";

struct BrokenFileTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("w.conf"));
    void SetUp() override { testsupport::writeFile(dir.path(), QStringLiteral("w.conf"), kBroken); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
};
} // namespace

TEST(Defaults, AbsentKeysReadAsZeroWrittenValuesSurviveAReopen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/w.conf"));
    {
        Defaults d(path);
        EXPECT_FALSE(d.loadedBrokenFile());
        EXPECT_EQ(d.integerForKey(QStringLiteral("kAlertType")), 0);
        EXPECT_FALSE(d.hasKey(QStringLiteral("kAlertType")));
        d.setInteger(3, QStringLiteral("kAlertType"));
        d.setInteger(5'000'000'000LL, QStringLiteral("big"));
        d.setBool(true, QStringLiteral("flag"));
        d.setDouble(0.5, QStringLiteral("ratio"));
        EXPECT_TRUE(d.synchronize());
    }
    Defaults again(path);
    EXPECT_EQ(again.integerForKey(QStringLiteral("kAlertType")), 3);
    EXPECT_EQ(again.integerForKey(QStringLiteral("big")), 5'000'000'000LL);
    EXPECT_TRUE(again.boolForKey(QStringLiteral("flag")));
    EXPECT_DOUBLE_EQ(again.doubleForKey(QStringLiteral("ratio")), 0.5);
    again.removeObjectForKey(QStringLiteral("flag"));
    EXPECT_FALSE(again.boolForKey(QStringLiteral("flag")));
}

TEST(Defaults, HandEditedNumbersThatDoNotFitReadAsAbsent)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.path(), QStringLiteral("w.conf"),
                           "[General]\nkHealthKey=85\nkAlertTrigger=1.9\nneg=-2.5\non=true\n"
                           "kAlertType=nan\ninf=inf\nminf=-inf\nhuge=1e300\ntiny=-1e300\n"
                           "edge=9223372036854775807\npast=9223372036854775808\n"
                           "below=-1e19\n");
    Defaults d(dir.filePath(QStringLiteral("w.conf")));
    EXPECT_EQ(d.integerForKey(QStringLiteral("kHealthKey")), 85);
    EXPECT_EQ(d.integerForKey(QStringLiteral("kAlertTrigger")), 1); // truncated
    EXPECT_EQ(d.integerForKey(QStringLiteral("neg")), -2);
    EXPECT_TRUE(d.boolForKey(QStringLiteral("on")));
    EXPECT_EQ(d.integerForKey(QStringLiteral("edge")), 9223372036854775807LL);
    for (const char* key : {"kAlertType", "inf", "minf", "huge", "tiny", "past", "below"})
        EXPECT_EQ(d.integerForKey(QLatin1String(key)), 0) << key;
    for (const char* key : {"kAlertType", "inf", "minf"})
        EXPECT_EQ(d.doubleForKey(QLatin1String(key)), 0.0) << key;

    // The same values set in memory, not read from text.
    d.setDouble(std::nan(""), QStringLiteral("mem"));
    EXPECT_EQ(d.integerForKey(QStringLiteral("mem")), 0);
    d.setDouble(-1e300, QStringLiteral("mem"));
    EXPECT_EQ(d.integerForKey(QStringLiteral("mem")), 0);
    d.setObject(QVariant::fromValue(~0ULL), QStringLiteral("mem"));
    EXPECT_EQ(d.integerForKey(QStringLiteral("mem")), 0);
}

TEST_F(BrokenFileTest, ReadingAndBookkeepingNeverMoveTheFile)
{
    {
        Defaults d(path);
        ASSERT_TRUE(d.loadedBrokenFile());
        EXPECT_EQ(d.integerForKey(QStringLiteral("kAlertType")), 0); // defaults in use
        d.setInteger(4, QStringLiteral("kRatingPromptUseCount"), Defaults::Bookkeeping);
        d.setDouble(1.5, QStringLiteral("kRatingPromptFirstUseDate"), Defaults::Bookkeeping);
        EXPECT_EQ(d.integerForKey(QStringLiteral("kRatingPromptUseCount")), 4);
        EXPECT_FALSE(d.synchronize());
    }
    EXPECT_EQ(readAll(path), kBroken);
    EXPECT_EQ(files(), QStringList{"w.conf"});
}

TEST_F(BrokenFileTest, UserChangesKeepEveryBrokenCopyAndEveryKey)
{
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const QByteArray content = kBroken + QByteArray::number(round);
        testsupport::writeFile(dir.path(), QStringLiteral("w.conf"), content);
        Defaults d(path);
        ASSERT_TRUE(d.loadedBrokenFile());
        d.setInteger(7, QStringLiteral("kRatingPromptUseCount"), Defaults::Bookkeeping);
        d.setInteger(round, QStringLiteral("kAlertType"));
        EXPECT_TRUE(d.synchronize());
        const QString copy = path + QStringLiteral(".broken") +
                             (round ? QStringLiteral(".%1").arg(round) : QString());
        EXPECT_EQ(readAll(copy), content);

        Defaults again(path);
        EXPECT_FALSE(again.loadedBrokenFile());
        EXPECT_EQ(again.integerForKey(QStringLiteral("kAlertType")), round);
        EXPECT_EQ(again.integerForKey(QStringLiteral("kRatingPromptUseCount")), 7);
    }
    // Earlier copies are all still there and unchanged.
    EXPECT_EQ(files(),
              (QStringList{"w.conf", "w.conf.broken", "w.conf.broken.1", "w.conf.broken.2"}));
    EXPECT_EQ(readAll(path + QStringLiteral(".broken")), kBroken + "0");
}

TEST(DefaultsTiming, OnlyRegularFilesUpToTheSizeLimitAreOpened)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.conf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.conf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    // Sparse files: the size alone must refuse them, unread.
    const QString huge = dir.filePath(QStringLiteral("huge.conf"));
    const QString over = dir.filePath(QStringLiteral("over.conf"));
    for (const auto& [file, size] :
         {std::pair{huge, qint64(200) << 20}, std::pair{over, Defaults::kMaxFileBytes + 1}}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));
    }
    for (const QString& path : {fifo, folder, huge, over, QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        QElapsedTimer clock;
        clock.start();
        Defaults d(path);
        EXPECT_LT(clock.elapsed(), 100);
        EXPECT_TRUE(d.loadedBrokenFile());
        EXPECT_EQ(d.integerForKey(QStringLiteral("kAlertType")), 0);
    }

    // A user change moves the FIFO aside like any broken file.
    Defaults d(fifo);
    d.setInteger(2, QStringLiteral("kAlertType"));
    EXPECT_TRUE(d.synchronize());
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(fifo + ".broken").constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Defaults(fifo).integerForKey(QStringLiteral("kAlertType")), 2);

    // A valid file of exactly the limit is read.
    QByteArray limit = "[General]\nkAlertType=3\n";
    limit += QByteArray(Defaults::kMaxFileBytes - limit.size() - 1, ';') + '\n';
    testsupport::writeFile(dir.path(), QStringLiteral("limit.conf"), limit);
    Defaults atLimit(dir.filePath(QStringLiteral("limit.conf")));
    EXPECT_FALSE(atLimit.loadedBrokenFile());
    EXPECT_EQ(atLimit.integerForKey(QStringLiteral("kAlertType")), 3);
}
