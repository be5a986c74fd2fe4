#include "rating/RatingPrompt.h"

#include "host/Reachability.h"
#include "host/settings/Defaults.h"
#include "rating/RatingLog.h"
#include "stats/BackgroundWorker.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
int g_launches = 0;
int g_foregrounds = 0;
RatingPrompt* g_shared = nullptr;

const QString kCurrentVersion = QStringLiteral("kRatingPromptCurrentVersion");
const QString kFirstUseDate = QStringLiteral("kRatingPromptFirstUseDate");
const QString kUseCount = QStringLiteral("kRatingPromptUseCount");
const QString kSignificantEventCount = QStringLiteral("kRatingPromptSignificantEventCount");
const QString kRatedCurrentVersion = QStringLiteral("kRatingPromptRatedCurrentVersion");
const QString kDeclinedToRate = QStringLiteral("kRatingPromptDeclinedToRate");
const QString kReminderRequestDate = QStringLiteral("kRatingPromptReminderRequestDate");

constexpr Defaults::WriteKind kBookkeeping = Defaults::Bookkeeping;

// A count from the file: garbage and negative numbers start again at 0, and
// the largest count stays where it is.
long long nextCount(const Defaults& defaults, const QString& key)
{
    const long long count = std::max(0LL, defaults.integerForKey(key));
    return count == LLONG_MAX ? count : count + 1;
}

// Counts one use or event of `version`; the two kinds differ only in what a
// new version starts from.
void count(Defaults& defaults, const QString& version, double now, const QString& counter,
           bool newVersionStartsUse)
{
    QString tracked = defaults.stringForKey(kCurrentVersion);
    if (tracked.isEmpty()) {
        defaults.setObject(version, kCurrentVersion, kBookkeeping);
        tracked = version;
    }
    if (tracked == version) {
        // A negative date is garbage, not a first use before 1970.
        if (defaults.doubleForKey(kFirstUseDate) <= 0)
            defaults.setDouble(now, kFirstUseDate, kBookkeeping);
        defaults.setInteger(nextCount(defaults, counter), counter, kBookkeeping);
    } else {
        defaults.setObject(version, kCurrentVersion, kBookkeeping);
        defaults.setDouble(newVersionStartsUse ? now : 0, kFirstUseDate, kBookkeeping);
        defaults.setInteger(newVersionStartsUse ? 1 : 0, kUseCount, kBookkeeping);
        defaults.setInteger(newVersionStartsUse ? 0 : 1, kSignificantEventCount, kBookkeeping);
        defaults.setDouble(0, kReminderRequestDate, kBookkeeping);
    }
    defaults.synchronize();
}
} // namespace

RatingPrompt::RatingPrompt(Host host, QObject* parent) : QObject(parent), m_host(std::move(host)) {}

RatingPrompt::~RatingPrompt()
{
    if (g_shared == this)
        g_shared = nullptr;
    waitForBookkeeping();
    delete m_ratingAlert.data();
}

void RatingPrompt::setSharedInstance(RatingPrompt* prompt)
{
    g_shared = prompt;
}

RatingPrompt* RatingPrompt::sharedInstance()
{
    return g_shared;
}

void RatingPrompt::appLaunched(bool canPromptForRating)
{
    ++g_launches;
    if (g_shared)
        g_shared->incrementAndRate(canPromptForRating);
}

void RatingPrompt::appEnteredForeground(bool canPromptForRating)
{
    ++g_foregrounds;
    if (g_shared)
        g_shared->incrementAndRate(canPromptForRating);
}

void RatingPrompt::userDidSignificantEvent(bool canPromptForRating)
{
    if (g_shared)
        g_shared->incrementSignificantEventAndRate(canPromptForRating);
}

void RatingPrompt::appWillResignActive()
{
    if (g_shared)
        g_shared->hideRatingAlert();
}

void RatingPrompt::incrementAndRate(bool canPromptForRating)
{
    countAndRate(Count::Use, canPromptForRating);
}

void RatingPrompt::incrementSignificantEventAndRate(bool canPromptForRating)
{
    countAndRate(Count::SignificantEvent, canPromptForRating);
}

void RatingPrompt::countAndRate(Count what, bool canPromptForRating)
{
    {
        std::lock_guard lock(m_pendingMutex);
        ++m_pending;
    }
    // The destructor waits for this job, so `this` outlives it; the answer
    // is queued to the main thread and dropped if the prompt is gone by then.
    BackgroundWorker::snapshots().post([this, what, canPromptForRating] {
        const double now = m_host.now();
        if (what == Count::Use)
            incrementUseCount(m_host.defaults, m_host.version, now);
        else
            incrementSignificantEventCount(m_host.defaults, m_host.version, now);
        if (canPromptForRating && ratingConditionsHaveBeenMet(m_host.defaults, now) &&
            connectedToNetwork())
            QMetaObject::invokeMethod(this, &RatingPrompt::showRatingAlert, Qt::QueuedConnection);
        std::lock_guard lock(m_pendingMutex);
        if (--m_pending == 0)
            m_pendingDone.notify_all();
    });
}

void RatingPrompt::waitForBookkeeping()
{
    std::unique_lock lock(m_pendingMutex);
    m_pendingDone.wait(lock, [this] { return m_pending == 0; });
}

void RatingPrompt::incrementUseCount(Defaults& defaults, const QString& version, double now)
{
    count(defaults, version, now, kUseCount, true);
}

void RatingPrompt::incrementSignificantEventCount(Defaults& defaults, const QString& version,
                                                  double now)
{
    count(defaults, version, now, kSignificantEventCount, false);
}

bool RatingPrompt::ratingConditionsHaveBeenMet(const Defaults& defaults, double now)
{
    // A first use in the future (a clock set back, a hand-edited file) is
    // "not yet": the difference is negative.
    if (!(now - defaults.doubleForKey(kFirstUseDate) >= kMinSecondsSinceFirstUse))
        return false;
    if (defaults.integerForKey(kUseCount) <= kMinUseCount)
        return false;
    if (defaults.integerForKey(kSignificantEventCount) <= kMinSignificantEventCount)
        return false;
    if (defaults.boolForKey(kDeclinedToRate) || defaults.boolForKey(kRatedCurrentVersion))
        return false;
    return now - defaults.doubleForKey(kReminderRequestDate) >= kMinSecondsSinceReminder;
}

bool RatingPrompt::connectedToNetwork() const
{
    switch (m_host.reachability.state()) {
    case Reachability::State::Reachable:
        return true;
    case Reachability::State::Unreachable:
        return false;
    case Reachability::State::Unknown:
        break;
    }
    qCWarning(lcRating) << "Error. Could not recover network reachability flags";
    return false;
}

void RatingPrompt::showRatingAlert()
{
    // Two counts that both met the conditions ask once.
    if (m_ratingAlert && m_ratingAlert->isVisible())
        return;
    delete m_ratingAlert.data();
    m_ratingAlert = new ui::AlertView(
        QStringLiteral("Do you like %1?").arg(QStringLiteral("Welvane")),
        QStringLiteral("Please support its further development by rating it."), this,
        QStringLiteral("Don't ask again"),
        {QStringLiteral("Yes, rate it"), QStringLiteral("Remind me later")}, this);
    m_ratingAlert->show();
}

void RatingPrompt::hideRatingAlert()
{
    if (m_ratingAlert && m_ratingAlert->isVisible())
        m_ratingAlert->dismissWithClickedButtonIndex(-1, false);
}

void RatingPrompt::alertViewClickedButtonAtIndex(ui::AlertView*, int buttonIndex)
{
    Defaults& d = m_host.defaults;
    switch (buttonIndex) {
    case 0:
        d.setBool(true, kDeclinedToRate);
        d.synchronize();
        break;
    case 1:
        rateApp();
        break;
    case 2:
        d.setDouble(m_host.now(), kReminderRequestDate);
        d.synchronize();
        break;
    default:
        break; // hidden when the application left the foreground: no choice
    }
}

QUrl RatingPrompt::reviewUrl()
{
    return QUrl(QStringLiteral("appstream://") + QStringLiteral(WELVANE_APPSTREAM_ID));
}

void RatingPrompt::rateApp()
{
    m_host.defaults.setBool(true, kRatedCurrentVersion);
    m_host.defaults.synchronize();
    if (m_host.openURL)
        m_host.openURL(reviewUrl());
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
