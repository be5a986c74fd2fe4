#include "rating/RatingPrompt.h"

#include "host/settings/Defaults.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

TEST(RatingPrompt, UsesAreCountedPerVersionAndNeverMoveABrokenFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.conf"));
    const QByteArray broken = "[General\nkRatingPromptUseCount=40\n";
    testsupport::writeFile(dir.path(), QStringLiteral("w.conf"), broken);

    Defaults d(path);
    ASSERT_TRUE(d.loadedBrokenFile());
    for (int i = 0; i < 3; ++i)
        RatingPrompt::incrementUseCount(d, QStringLiteral("1.0"), 1000.0 + i);
    EXPECT_EQ(d.integerForKey(QStringLiteral("kRatingPromptUseCount")), 3);
    EXPECT_EQ(d.doubleForKey(QStringLiteral("kRatingPromptFirstUseDate")), 1000.0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"w.conf"});

    // A new version starts again; reminder and events reset with it.
    d.setDouble(5.0, QStringLiteral("kRatingPromptReminderRequestDate"), Defaults::Bookkeeping);
    RatingPrompt::incrementUseCount(d, QStringLiteral("1.1"), 2000.0);
    EXPECT_EQ(d.stringForKey(QStringLiteral("kRatingPromptCurrentVersion")), "1.1");
    EXPECT_EQ(d.integerForKey(QStringLiteral("kRatingPromptUseCount")), 1);
    EXPECT_EQ(d.doubleForKey(QStringLiteral("kRatingPromptFirstUseDate")), 2000.0);
    EXPECT_EQ(d.doubleForKey(QStringLiteral("kRatingPromptReminderRequestDate")), 0.0);
}
