#include "rating/RatingPrompt.h"

#include "host/settings/Defaults.h"

#include <QDateTime>

#include <algorithm>
#include <climits>

namespace {
int g_launches = 0;
int g_foregrounds = 0;

const QString kCurrentVersion = QStringLiteral("kRatingPromptCurrentVersion");
const QString kFirstUseDate = QStringLiteral("kRatingPromptFirstUseDate");
const QString kUseCount = QStringLiteral("kRatingPromptUseCount");
const QString kSignificantEventCount = QStringLiteral("kRatingPromptSignificantEventCount");
const QString kReminderRequestDate = QStringLiteral("kRatingPromptReminderRequestDate");

void countUse()
{
    const double now = static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    RatingPrompt::incrementUseCount(Defaults::standardUserDefaults(),
                                    QStringLiteral(WELVANE_VERSION), now);
}
} // namespace

void RatingPrompt::appLaunched(bool)
{
    ++g_launches;
    countUse();
}

void RatingPrompt::appEnteredForeground(bool)
{
    ++g_foregrounds;
    countUse();
}

void RatingPrompt::incrementUseCount(Defaults& defaults, const QString& version, double now)
{
    constexpr Defaults::WriteKind kind = Defaults::Bookkeeping;
    QString tracked = defaults.stringForKey(kCurrentVersion);
    if (tracked.isEmpty()) {
        defaults.setObject(version, kCurrentVersion, kind);
        tracked = version;
    }
    if (tracked == version) {
        if (defaults.doubleForKey(kFirstUseDate) == 0)
            defaults.setDouble(now, kFirstUseDate, kind);
        const long long count = std::max(0LL, defaults.integerForKey(kUseCount));
        defaults.setInteger(count == LLONG_MAX ? count : count + 1, kUseCount, kind);
    } else {
        defaults.setObject(version, kCurrentVersion, kind);
        defaults.setDouble(now, kFirstUseDate, kind);
        defaults.setInteger(1, kUseCount, kind);
        defaults.setInteger(0, kSignificantEventCount, kind);
        defaults.setDouble(0, kReminderRequestDate, kind);
    }
    defaults.synchronize();
}

int RatingPrompt::launchCount()
{
    return g_launches;
}

int RatingPrompt::foregroundCount()
{
    return g_foregrounds;
}

void RatingPrompt::resetCounts()
{
    g_launches = 0;
    g_foregrounds = 0;
}
