#include "host/settings/Defaults.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(Defaults, AbsentKeysReadAsZero)
{
    QTemporaryDir dir;
    Defaults d(dir.filePath(QStringLiteral("w.conf")));
    EXPECT_EQ(d.integerForKey(QStringLiteral("kAlertType")), 0);
    EXPECT_FALSE(d.boolForKey(QStringLiteral("x")));
    EXPECT_EQ(d.doubleForKey(QStringLiteral("x")), 0.0);
    EXPECT_TRUE(d.stringForKey(QStringLiteral("x")).isEmpty());
    EXPECT_FALSE(d.hasKey(QStringLiteral("x")));
}

TEST(Defaults, WrittenValuesSurviveAReopen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/w.conf"));
    {
        Defaults d(path);
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
    EXPECT_FALSE(again.hasKey(QStringLiteral("flag")));
}

TEST(Defaults, HandEditedTextValuesAreRead)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.path(), QStringLiteral("w.conf"),
                           "[General]\nkHealthKey=85\nkAlertTrigger=1.0\non=true\n");
    Defaults d(dir.filePath(QStringLiteral("w.conf")));
    EXPECT_EQ(d.integerForKey(QStringLiteral("kHealthKey")), 85);
    EXPECT_EQ(d.integerForKey(QStringLiteral("kAlertTrigger")), 1);
    EXPECT_TRUE(d.boolForKey(QStringLiteral("on")));
}

TEST(Defaults, UnreadableFileIsKeptUntilTheUserChangesASetting)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.conf"));
    // An unterminated section header is a format error for the INI reader.
    const QByteArray broken = "[General\nkAlertType=2\n\x01\x02garbage";
    testsupport::writeFile(dir.path(), QStringLiteral("w.conf"), broken);
    {
        Defaults d(path);
        ASSERT_TRUE(d.loadedBrokenFile());
        EXPECT_EQ(d.integerForKey(QStringLiteral("kAlertType")), 0); // defaults in use
        EXPECT_FALSE(d.synchronize());
    }
    EXPECT_EQ(readAll(path), broken); // untouched, also after the store is gone

    Defaults d(path);
    d.setInteger(1, QStringLiteral("kAlertType"));
    EXPECT_TRUE(d.synchronize());
    EXPECT_EQ(readAll(path + QStringLiteral(".broken")), broken);
    Defaults again(path);
    EXPECT_FALSE(again.loadedBrokenFile());
    EXPECT_EQ(again.integerForKey(QStringLiteral("kAlertType")), 1);
}
