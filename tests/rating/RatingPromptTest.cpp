#include "rating/RatingPrompt.h"

#include "host/Reachability.h"
#include "host/settings/Defaults.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>

namespace {

constexpr double kDay = 86400;
constexpr double kStart = 1.8e9; // an arbitrary calendar second

const QString kUseCount = QStringLiteral("kRatingPromptUseCount");
const QString kFirstUse = QStringLiteral("kRatingPromptFirstUseDate");
const QString kDeclined = QStringLiteral("kRatingPromptDeclinedToRate");
const QString kRated = QStringLiteral("kRatingPromptRatedCurrentVersion");
const QString kReminder = QStringLiteral("kRatingPromptReminderRequestDate");

struct FakeReachability : Reachability {
    std::atomic<State> now{State::Reachable};
    State state() const override { return now.load(); }
};

// A prompt over its own settings file, a hand-set clock and network, and a
// record of the addresses it opened.
struct PromptRig {
    QTemporaryDir dir;
    Defaults defaults{dir.filePath(QStringLiteral("w.conf"))};
    std::atomic<double> clock{kStart};
    FakeReachability network;
    QList<QUrl> opened;
    std::unique_ptr<RatingPrompt> prompt = make(QStringLiteral("1.0"));

    std::unique_ptr<RatingPrompt> make(const QString& version)
    {
        return std::make_unique<RatingPrompt>(
            RatingPrompt::Host{defaults, version, [this] { return clock.load(); }, network,
                               [this](const QUrl& url) { opened << url; }});
    }
    // One launch, its bookkeeping done and its question (if any) on screen.
    bool launch()
    {
        prompt->incrementAndRate(true);
        prompt->waitForBookkeeping();
        QCoreApplication::processEvents();
        return asking();
    }
    bool asking() const { return prompt->ratingAlert() && prompt->ratingAlert()->isVisible(); }
    // count launches at the present clock, none of which may ask.
    void launchQuietly(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_FALSE(launch()) << "asked at launch " << i + 1;
    }
    void answer(int button) { prompt->ratingAlert()->dismissWithClickedButtonIndex(button); }
    // Ten launches on the first day, then eleven days on.
    void reachTheEleventhLaunch()
    {
        launchQuietly(10);
        clock = kStart + 11 * kDay;
    }
};

} // namespace

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
    EXPECT_EQ(d.integerForKey(kUseCount), 3);
    EXPECT_EQ(d.doubleForKey(kFirstUse), 1000.0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"w.conf"});

    // A new version starts again; reminder and events reset with it.
    d.setDouble(5.0, kReminder, Defaults::Bookkeeping);
    RatingPrompt::incrementUseCount(d, QStringLiteral("1.1"), 2000.0);
    EXPECT_EQ(d.stringForKey(QStringLiteral("kRatingPromptCurrentVersion")), "1.1");
    EXPECT_EQ(d.integerForKey(kUseCount), 1);
    EXPECT_EQ(d.doubleForKey(kFirstUse), 2000.0);
    EXPECT_EQ(d.doubleForKey(kReminder), 0.0);

    // A significant event of a newer version starts with no uses and no date.
    RatingPrompt::incrementSignificantEventCount(d, QStringLiteral("1.2"), 3000.0);
    EXPECT_EQ(d.integerForKey(kUseCount), 0);
    EXPECT_EQ(d.doubleForKey(kFirstUse), 0.0);
    EXPECT_EQ(d.integerForKey(QStringLiteral("kRatingPromptSignificantEventCount")), 1);
}

TEST(RatingPrompt, AsksOnTheEleventhLaunchTenDaysOnAndOnlyThen)
{
    PromptRig rig;
    EXPECT_FALSE(rig.launch()); // a fresh install
    EXPECT_EQ(rig.defaults.integerForKey(kUseCount), 1);
    EXPECT_EQ(rig.defaults.doubleForKey(kFirstUse), kStart);
    // What another reader of the file sees: every count is synchronized.
    EXPECT_EQ(Defaults(rig.defaults.path()).integerForKey(kUseCount), 1);

    rig.launchQuietly(8);
    rig.clock = kStart + 20 * kDay;
    EXPECT_FALSE(rig.launch()); // the tenth, twenty days on: not more than ten
    EXPECT_TRUE(rig.launch());  // the eleventh
    EXPECT_EQ(rig.prompt->ratingAlert()->buttonTitles(),
              (QStringList{"Don't ask again", "Yes, rate it", "Remind me later"}));
    // Another launch while it shows asks no second time.
    EXPECT_TRUE(rig.launch());
    EXPECT_EQ(ui::AlertView::visibleAlerts().size(), 1);
}

TEST(RatingPrompt, OfflineOrUnknownNetworkCountsButDoesNotAsk)
{
    static QStringList messages;
    messages.clear();
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { messages << text; });
    PromptRig rig;
    rig.reachTheEleventhLaunch();
    rig.network.now = Reachability::State::Unreachable;
    const bool askedOffline = rig.launch();
    rig.network.now = Reachability::State::Unknown;
    const bool askedUnknown = rig.launch();
    qInstallMessageHandler(previous);
    EXPECT_FALSE(askedOffline);
    EXPECT_FALSE(askedUnknown);
    EXPECT_EQ(rig.defaults.integerForKey(kUseCount), 12);
    EXPECT_TRUE(
        messages.contains(QStringLiteral("Error. Could not recover network reachability flags")));
    rig.network.now = Reachability::State::Reachable;
    EXPECT_TRUE(rig.launch());
}

TEST(RatingPrompt, RemindMeLaterWaitsADayAndRatingEndsTheQuestions)
{
    PromptRig rig;
    rig.reachTheEleventhLaunch();
    ASSERT_TRUE(rig.launch());
    rig.answer(2);
    EXPECT_EQ(Defaults(rig.defaults.path()).doubleForKey(kReminder), kStart + 11 * kDay);
    rig.clock = kStart + 11 * kDay + 12 * 3600;
    EXPECT_FALSE(rig.launch());
    rig.clock = kStart + 11 * kDay + 25 * 3600;
    ASSERT_TRUE(rig.launch());

    rig.answer(1);
    EXPECT_EQ(rig.opened, QList<QUrl>{QUrl("appstream://" WELVANE_APPSTREAM_ID)});
    EXPECT_TRUE(Defaults(rig.defaults.path()).boolForKey(kRated));
    rig.clock = kStart + 40 * kDay;
    EXPECT_FALSE(rig.launch());
}

TEST(RatingPrompt, DeclinedStaysDeclinedAcrossAnUpgrade)
{
    PromptRig rig;
    rig.reachTheEleventhLaunch();
    ASSERT_TRUE(rig.launch());
    rig.answer(0);
    EXPECT_TRUE(rig.defaults.boolForKey(kDeclined));
    EXPECT_TRUE(rig.opened.isEmpty());

    rig.prompt = rig.make(QStringLiteral("2.0"));
    rig.clock = kStart + 30 * kDay;
    EXPECT_FALSE(rig.launch());
    EXPECT_EQ(rig.defaults.integerForKey(kUseCount), 1); // the upgrade starts counting again
    EXPECT_EQ(rig.defaults.doubleForKey(kFirstUse), kStart + 30 * kDay);
    rig.launchQuietly(10);
    rig.clock = kStart + 45 * kDay;
    EXPECT_FALSE(rig.launch());
    EXPECT_TRUE(rig.defaults.boolForKey(kDeclined));
}

TEST(RatingPrompt, LeavingTheForegroundTakesTheQuestionAwayUnanswered)
{
    PromptRig rig;
    RatingPrompt::setSharedInstance(rig.prompt.get());
    rig.reachTheEleventhLaunch();
    RatingPrompt::appEnteredForeground(true);
    rig.prompt->waitForBookkeeping();
    QCoreApplication::processEvents();
    ASSERT_TRUE(rig.asking());

    RatingPrompt::appWillResignActive();
    EXPECT_FALSE(rig.asking());
    EXPECT_FALSE(rig.defaults.boolForKey(kDeclined));
    EXPECT_FALSE(rig.defaults.boolForKey(kRated));
    EXPECT_EQ(rig.defaults.doubleForKey(kReminder), 0.0);
    EXPECT_TRUE(rig.opened.isEmpty());
    EXPECT_TRUE(rig.launch()); // back at the next launch
    RatingPrompt::setSharedInstance(nullptr);
}

TEST(RatingPrompt, GarbageInTheSettingsNeitherCrashesNorStorms)
{
    PromptRig rig;
    Defaults& d = rig.defaults;
    d.setObject(QStringLiteral("1.0"), QStringLiteral("kRatingPromptCurrentVersion"));
    d.setObject(QStringLiteral("lots"), kUseCount);
    d.setDouble(kStart + 365 * kDay, kFirstUse); // in the future
    d.setInteger(-7, QStringLiteral("kRatingPromptSignificantEventCount"));
    d.setObject(QStringLiteral("maybe"), kDeclined);
    EXPECT_FALSE(rig.launch());
    EXPECT_EQ(d.integerForKey(kUseCount), 1);                  // text counts as none
    EXPECT_EQ(d.doubleForKey(kFirstUse), kStart + 365 * kDay); // kept, and "not yet"
    rig.launchQuietly(20);

    // A negative count and a negative date start afresh rather than wrap or ask.
    d.setInteger(-5, kUseCount);
    d.setDouble(-1e12, kFirstUse);
    EXPECT_FALSE(rig.launch());
    EXPECT_EQ(d.integerForKey(kUseCount), 1);
    EXPECT_EQ(d.doubleForKey(kFirstUse), kStart);

    // A reminder date in the future holds the question back.
    d.setInteger(50, kUseCount);
    d.setDouble(kStart - 20 * kDay, kFirstUse);
    d.setInteger(0, QStringLiteral("kRatingPromptSignificantEventCount"));
    d.setDouble(kStart + 100 * kDay, kReminder);
    EXPECT_FALSE(rig.launch());

    // Many launches at once once it may ask: one question on screen.
    d.setDouble(0, kReminder);
    for (int i = 0; i < 5; ++i)
        rig.prompt->incrementAndRate(true);
    rig.prompt->waitForBookkeeping();
    QCoreApplication::processEvents();
    EXPECT_EQ(ui::AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(d.integerForKey(kUseCount), 56);
}

TEST(RatingPrompt, TheReviewLinkNamesTheIdTheMetainfoDeclares)
{
    const QUrl link = RatingPrompt::reviewUrl();
    const QString metainfo = QStringLiteral(WELVANE_BINARY_DIR "/share/metainfo/") + link.host() +
                             QStringLiteral(".metainfo.xml");
    QFile file(metainfo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << metainfo.toStdString();
    const QByteArray xml = file.readAll();
    // Lower case: a URL's host is, and the validator prefers it.
    EXPECT_EQ(link.host(), QStringLiteral(WELVANE_APPSTREAM_ID));
    EXPECT_TRUE(xml.contains("<id>" WELVANE_APPSTREAM_ID "</id>"));
    EXPECT_TRUE(xml.contains(">" WELVANE_APPSTREAM_ID ".desktop</launchable>"));
    if (QStandardPaths::findExecutable(QStringLiteral("appstreamcli")).isEmpty())
        GTEST_SKIP() << "appstreamcli missing";
    QProcess validate;
    validate.start(QStringLiteral("appstreamcli"),
                   {"validate", "--no-net", "--pedantic", metainfo});
    ASSERT_TRUE(validate.waitForFinished(20000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().toStdString();
}
