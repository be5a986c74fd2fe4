#pragma once

#include "ui/AlertView.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <condition_variable>
#include <functional>
#include <mutex>

class Defaults;
class Reachability;

// Counts launches and returns to the foreground per version and, once the
// version has been used long and often enough and the network is up, asks
// the user once to review the application. The counting and the network test
// run on the background worker; the question is asked on the main thread.
// All state is in the user defaults.
class RatingPrompt : public QObject, public ui::AlertViewDelegate {
    Q_OBJECT
public:
    struct Host {
        Defaults& defaults;
        QString version;             // the running program's version
        std::function<double()> now; // calendar seconds; called on the worker too
        const Reachability& reachability;
        std::function<void(const QUrl&)> openURL;
    };

    static constexpr double kMinSecondsSinceFirstUse = 864000; // 10 days
    static constexpr long long kMinUseCount = 10;              // more than this
    static constexpr long long kMinSignificantEventCount = -1; // more than this
    static constexpr double kMinSecondsSinceReminder = 86400;  // 1 day

    explicit RatingPrompt(Host host, QObject* parent = nullptr);
    // Waits for bookkeeping still running in the background.
    ~RatingPrompt() override;

    // The instance the class operations below act on (the composition's);
    // nullptr when none: they then only count calls.
    static void setSharedInstance(RatingPrompt* prompt);
    static RatingPrompt* sharedInstance();

    // Called by the application delegate; each counts a use in the background
    // and, when canPromptForRating and the conditions hold, asks.
    static void appLaunched(bool canPromptForRating = true);
    static void appEnteredForeground(bool canPromptForRating = true);
    static void userDidSignificantEvent(bool canPromptForRating = true);
    // The application left the foreground: the question goes away unanswered.
    static void appWillResignActive();

    void incrementAndRate(bool canPromptForRating);
    void incrementSignificantEventAndRate(bool canPromptForRating);
    // Opens the software centre's page of this application and remembers
    // that this version was rated.
    void rateApp();
    void hideRatingAlert();
    ui::AlertView* ratingAlert() const { return m_ratingAlert; }

    // The review link: the desktop's software centre at our AppStream ID.
    static QUrl reviewUrl();

    // Counts one use (or event) of `version` at `now`: a new version starts
    // its count again. Written as bookkeeping, so a broken settings file is
    // never moved aside for it.
    static void incrementUseCount(Defaults& defaults, const QString& version, double now);
    static void incrementSignificantEventCount(Defaults& defaults, const QString& version,
                                               double now);
    static bool ratingConditionsHaveBeenMet(const Defaults& defaults, double now);
    bool connectedToNetwork() const;

    void alertViewClickedButtonAtIndex(ui::AlertView* alertView, int buttonIndex) override;

    // Blocks until the bookkeeping posted so far is done (tests); the
    // question, if any, then waits in the event queue.
    void waitForBookkeeping();

    // Calls of the class operations, whether or not an instance was set.
    static int launchCount();
    static int foregroundCount();
    static void resetCounts();

private:
    enum class Count { Use, SignificantEvent };
    void countAndRate(Count count, bool canPromptForRating);
    void showRatingAlert();

    Host m_host;
    QPointer<ui::AlertView> m_ratingAlert;
    std::mutex m_pendingMutex;
    std::condition_variable m_pendingDone;
    int m_pending = 0;
};
