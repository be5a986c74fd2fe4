#pragma once

// The rating prompt's entry points, called by the application delegate on
// launch and on every return to the foreground. The counting and the
// question itself come later; for now the calls are recorded so the shell's
// obligations can be checked.
class RatingPrompt {
public:
    static void appLaunched(bool canPromptForRating);
    static void appEnteredForeground(bool canPromptForRating);

    static int launchCount();
    static int foregroundCount();
    static void resetCounts();
};
