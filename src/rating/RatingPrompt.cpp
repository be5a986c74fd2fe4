#include "rating/RatingPrompt.h"

namespace {
int g_launches = 0;
int g_foregrounds = 0;
} // namespace

void RatingPrompt::appLaunched(bool)
{
    ++g_launches;
}

void RatingPrompt::appEnteredForeground(bool)
{
    ++g_foregrounds;
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
