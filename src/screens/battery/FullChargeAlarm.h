#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class AudioPlayer;
class Battery;
class Defaults;
class DynamicStats;
class RepeatingTimer;

// Sounds when the battery has finished charging: once, once a minute, or
// 3600 times back to back, as the alarm settings say; keeps the machine awake
// while the alarm can still fire. The application builds one; the Overview
// calls its two handlers on the battery's changes; the handlers do not
// reload any table, their caller does. Main thread only.
class FullChargeAlarm {
public:
    struct Host {
        Battery& battery;
        // getCharge, shouldPreventIdle and preventIdle
        DynamicStats& stats;
        // kAlertType, kAlertTrigger
        Defaults& defaults;
        // The alarm sound, made on the first firing; nullptr when it cannot be
        // loaded (nothing sounds then, the rest proceeds). Empty: the
        // application's own sound.
        std::function<std::unique_ptr<AudioPlayer>()> makePlayer = {};
        // Empty: Qt timers.
        std::function<std::unique_ptr<RepeatingTimer>()> makeTimer = {};
    };

    // Where the application's alarm sound lives (a Qt resource).
    static QString soundPath();

    explicit FullChargeAlarm(Host host);
    ~FullChargeAlarm();
    FullChargeAlarm(const FullChargeAlarm&) = delete;
    FullChargeAlarm& operator=(const FullChargeAlarm&) = delete;

    // The level change checks only for the "at 100 %" trigger.
    void batteryLevelDidChange();
    void batteryStateDidChange();
    // The check itself: fire, or keep or release the machine's wakefulness.
    void onBatteryStateChange();
    void onAlertTimer();
    void audioPlayerDidFinishPlaying(bool successfully);
    void stopAudioPlayer();

    // nullptr until the first firing.
    AudioPlayer* audioPlayer() const { return m_player.get(); }
    // The once-a-minute repeat while an "Every minute" alarm sounds.
    bool alertTimerActive() const;

    static constexpr std::chrono::milliseconds kAlertInterval{60000};
    static constexpr int kContinuousLoops = 3600;

    // The previous battery reading is shared by the whole process and starts
    // at full and 100 %, so launching on a full battery never sounds. Tests
    // start again from there with this.
    static void resetPreviousReading();

private:
    bool fires(int state, long charge, long long trigger) const;
    void fire(long long type);

    Host m_host;
    std::unique_ptr<AudioPlayer> m_player;
    std::unique_ptr<RepeatingTimer> m_alertTimer;
};
