#pragma once

#include <QString>

class Defaults;

// The rating prompt's entry points, called by the application delegate on
// launch and on every return to the foreground. Each call counts a use of
// the running version in the user defaults; the question itself comes later.
class RatingPrompt {
public:
    static void appLaunched(bool canPromptForRating);
    static void appEnteredForeground(bool canPromptForRating);

    // Counts one use of `version` at `now` (seconds since 1970): a new
    // version starts its count again. Written as bookkeeping, so a broken
    // settings file is never moved aside for it.
    static void incrementUseCount(Defaults& defaults, const QString& version, double now);

    static int launchCount();
    static int foregroundCount();
    static void resetCounts();
};
