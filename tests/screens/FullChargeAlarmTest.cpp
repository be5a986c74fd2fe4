#include "screens/battery/FullChargeAlarm.h"

#include "screens/ScreenFakes.h"

#include <gtest/gtest.h>

using namespace screenfakes;
using namespace std::chrono_literals;

namespace {

constexpr auto kUnplugged = Battery::StateUnplugged;
constexpr auto kCharging = Battery::StateCharging;
constexpr auto kFull = Battery::StateFull;

// An alarm over a fake battery, player and clock, with the previous battery
// reading back at its start of "full, 100 %".
struct AlarmRig {
    TempDefaults store;
    FakeStats host{store.defaults};
    Clock clock;
    FakePlayer* player = nullptr; // owned by the alarm once made
    int playersMade = 0;
    bool soundLoads = true;
    FullChargeAlarm alarm{FullChargeAlarm::Host{
        host.battery,
        host.stats,
        store.defaults,
        [this]() -> std::unique_ptr<AudioPlayer> {
            ++playersMade;
            if (!soundLoads)
                return nullptr;
            auto made = std::make_unique<FakePlayer>();
            player = made.get();
            return made;
        },
        [this] { return clock.make(); },
    }};

    AlarmRig(long long type, long long trigger)
    {
        FullChargeAlarm::resetPreviousReading();
        store.defaults.setInteger(type, QStringLiteral("kAlertType"));
        store.defaults.setInteger(trigger, QStringLiteral("kAlertTrigger"));
    }
    // The battery changes and signals its new state or level.
    void stateEvent(Battery::State state, float level)
    {
        host.battery.st = state;
        host.battery.lvl = level;
        alarm.batteryStateDidChange();
    }
    void levelEvent(Battery::State state, float level)
    {
        host.battery.st = state;
        host.battery.lvl = level;
        alarm.batteryLevelDidChange();
    }
    int plays() const { return player ? player->plays : 0; }
    void chargeToFull() // fires the state trigger
    {
        stateEvent(Battery::StateCharging, 0.9f);
        stateEvent(Battery::StateFull, 1.0f);
    }
};

} // namespace

TEST(FullChargeAlarmTrigger, StateTriggerFiresOnlyOnChargingToFull)
{
    AlarmRig straight(1, 0);
    straight.stateEvent(kUnplugged, 0.5f);
    straight.stateEvent(kFull, 1.0f); // unplugged straight to full
    EXPECT_EQ(straight.plays(), 0);

    AlarmRig charged(1, 0);
    charged.chargeToFull();
    ASSERT_NE(charged.player, nullptr);
    EXPECT_EQ(charged.player->loopsAtPlay, std::vector<int>{0});

    // A level change is not the state trigger's business.
    AlarmRig levelOnly(1, 0);
    levelOnly.stateEvent(kCharging, 0.99f);
    levelOnly.levelEvent(kFull, 1.0f);
    EXPECT_EQ(levelOnly.plays(), 0);
}

TEST(FullChargeAlarmTrigger, ChargeTriggerFiresOnCrossingTo100WhileChargingOrFull)
{
    for (auto state : {kCharging, kFull}) {
        SCOPED_TRACE(state);
        AlarmRig rig(1, 1);
        rig.levelEvent(kCharging, 0.99f);
        rig.levelEvent(state, 1.0f);
        EXPECT_EQ(rig.plays(), 1);
        // Another level event at 100 % has no crossing: no second firing.
        rig.player->finish();
        rig.levelEvent(state, 1.0f);
        EXPECT_EQ(rig.plays(), 1);
    }
    AlarmRig unplugged(1, 1);
    unplugged.levelEvent(kCharging, 0.98f);
    unplugged.levelEvent(kUnplugged, 1.0f);
    EXPECT_EQ(unplugged.plays(), 0);

    AlarmRig jump(1, 1); // 95 % to 100 % in one step is still a crossing
    jump.levelEvent(kCharging, 0.95f);
    jump.stateEvent(kFull, 1.0f);
    EXPECT_EQ(jump.plays(), 1);
}

TEST(FullChargeAlarmTrigger, SilentAtStartWhenOffOrUnknownButTheReadingIsKept)
{
    for (long long trigger : {0, 1}) { // already full at start: no change to sound for
        AlarmRig rig(1, trigger);
        rig.stateEvent(kFull, 1.0f);
        rig.levelEvent(kFull, 1.0f);
        EXPECT_EQ(rig.playersMade, 0) << trigger;
    }
    AlarmRig unknown(1, 5);
    unknown.chargeToFull();
    EXPECT_EQ(unknown.playersMade, 0);

    AlarmRig off(0, 0);
    off.chargeToFull();
    off.stateEvent(kUnplugged, 0.9f);
    off.store.defaults.setInteger(1, QStringLiteral("kAlertTrigger"));
    off.levelEvent(kCharging, 0.99f);
    off.levelEvent(kCharging, 1.0f);
    EXPECT_EQ(off.playersMade, 0);
    EXPECT_EQ(off.host.idle.calls, 0);
    EXPECT_EQ(off.clock.made, 0);

    // Off while charging, then on: the next "full" is a change from charging.
    AlarmRig later(0, 0);
    later.stateEvent(kCharging, 0.9f);
    later.store.defaults.setInteger(1, QStringLiteral("kAlertType"));
    later.stateEvent(kFull, 1.0f);
    EXPECT_EQ(later.plays(), 1);
}

TEST(FullChargeAlarmPlaying, ASecondFiringWhilePlayingDoesNotRestart)
{
    AlarmRig rig(3, 1);
    rig.levelEvent(kCharging, 0.99f);
    rig.levelEvent(kCharging, 1.0f);
    ASSERT_NE(rig.player, nullptr);
    EXPECT_EQ(rig.player->loopsAtPlay, std::vector<int>{FullChargeAlarm::kContinuousLoops});
    EXPECT_FALSE(rig.alarm.alertTimerActive());
    // Full but back at 99 %: neither charging nor unplugged, so the sound
    // goes on; the next 100 % is a crossing and fires again.
    rig.levelEvent(kFull, 0.99f);
    rig.levelEvent(kFull, 1.0f);
    EXPECT_EQ(rig.plays(), 1);
    EXPECT_EQ(rig.player->stops, 0);

    // Once the sound is over, the same crossing plays the kept player again.
    rig.player->finish();
    rig.levelEvent(kFull, 0.99f);
    rig.levelEvent(kFull, 1.0f);
    EXPECT_EQ(rig.plays(), 2);
    EXPECT_EQ(rig.playersMade, 1);
}

TEST(FullChargeAlarmPlaying, EveryMinutePlaysEach60SecondsAndFiringAgainStartsAFreshMinute)
{
    AlarmRig rig(2, 0);
    rig.chargeToFull();
    rig.player->finish();
    rig.clock.advance(59s);
    EXPECT_EQ(rig.plays(), 1);
    rig.clock.advance(1s);
    EXPECT_EQ(rig.plays(), 2);
    rig.player->finish();
    rig.clock.advance(30s);
    rig.chargeToFull(); // stops, then fires again: a fresh minute from here
    rig.player->finish();
    rig.clock.advance(59s);
    EXPECT_EQ(rig.plays(), 3);
    rig.clock.advance(1s);
    EXPECT_EQ(rig.plays(), 4);
    EXPECT_EQ(rig.player->loopsAtPlay, (std::vector<int>{0, 0, 0, 0}));
    rig.alarm.stopAudioPlayer();
    EXPECT_FALSE(rig.player->isPlaying());
    rig.clock.advance(600s);
    EXPECT_EQ(rig.plays(), 4);
}

// Plugged in again below 100 %: silent but awake; unplugged: silent, and
// the machine may idle.
TEST(FullChargeAlarmPlaying, ChargerEventsStopTheAlarm)
{
    AlarmRig rig(2, 0);
    rig.chargeToFull();
    rig.stateEvent(kCharging, 0.99f);
    EXPECT_EQ(rig.player->stops, 1);
    EXPECT_FALSE(rig.alarm.alertTimerActive());
    EXPECT_TRUE(rig.host.idle.disabled);
    rig.chargeToFull();
    rig.stateEvent(kUnplugged, 1.0f);
    EXPECT_FALSE(rig.player->isPlaying());
    EXPECT_FALSE(rig.host.idle.disabled);
    rig.clock.advance(300s);
    EXPECT_EQ(rig.plays(), 2);
}

TEST(FullChargeAlarmIdle, EventsAndTheSoundsEndFollowTheIdleRule)
{
    AlarmRig rig(1, 1);
    rig.levelEvent(kCharging, 0.50f);
    EXPECT_TRUE(rig.host.idle.disabled); // charging below 100 %: stay awake
    rig.levelEvent(kCharging, 1.0f);     // fires; the idle timer is left alone
    EXPECT_TRUE(rig.host.idle.disabled);
    // Neither charging nor unplugged (unknown): nothing changes.
    const int calls = rig.host.idle.calls;
    rig.stateEvent(Battery::StateUnknown, 1.0f);
    EXPECT_EQ(rig.host.idle.calls, calls);

    // When the sound finishes, only "every minute" keeps the machine awake.
    for (long long type : {1, 2, 3}) {
        AlarmRig played(type, 0);
        played.chargeToFull();
        played.host.idle.disabled = type != 2;
        played.player->finish();
        EXPECT_EQ(played.host.idle.disabled, type == 2) << type;
    }
}

TEST(FullChargeAlarmFailure, ASoundThatCannotLoadLeavesTheRestWorking)
{
    AlarmRig rig(2, 0);
    rig.soundLoads = false;
    rig.chargeToFull();
    EXPECT_EQ(rig.alarm.audioPlayer(), nullptr);
    EXPECT_TRUE(rig.alarm.alertTimerActive()); // the minute timer runs, silently
    rig.clock.advance(120s);
    rig.stateEvent(kUnplugged, 1.0f);
    EXPECT_FALSE(rig.alarm.alertTimerActive());
    EXPECT_FALSE(rig.host.idle.disabled);
    // The next firing tries to load the sound again.
    rig.soundLoads = true;
    rig.chargeToFull();
    EXPECT_EQ(rig.plays(), 1);
}
