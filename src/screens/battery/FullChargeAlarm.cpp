#include "screens/battery/FullChargeAlarm.h"

#include "host/AudioPlayer.h"
#include "host/Battery.h"
#include "host/settings/Defaults.h"
#include "screens/battery/QtAudioPlayer.h"
#include "screens/common/QtRepeatingTimer.h"
#include "stats/DynamicStats.h"

namespace {

// The last battery reading the check saw, for the whole process. Starting at
// "full" keeps a launch on a full battery quiet.
struct PreviousReading {
    int state = Battery::StateFull;
    long charge = 100;
};

PreviousReading& previous()
{
    static PreviousReading reading;
    return reading;
}

const QString kAlertTypeKey = QStringLiteral("kAlertType");
const QString kAlertTriggerKey = QStringLiteral("kAlertTrigger");

constexpr long long kTypeOff = 0;
constexpr long long kTypeEveryMinute = 2;
constexpr long long kTypeContinuous = 3;
constexpr long long kTriggerState = 0;
constexpr long long kTriggerFullCharge = 1;

} // namespace

QString FullChargeAlarm::soundPath()
{
    return QStringLiteral(":/sounds/notification.wav");
}

FullChargeAlarm::FullChargeAlarm(Host host) : m_host(std::move(host))
{
    if (!m_host.makePlayer)
        m_host.makePlayer = [] {
            return std::unique_ptr<AudioPlayer>(QtAudioPlayer::create(soundPath()));
        };
    if (!m_host.makeTimer)
        m_host.makeTimer = [] {
            return std::unique_ptr<RepeatingTimer>(std::make_unique<QtRepeatingTimer>());
        };
}

FullChargeAlarm::~FullChargeAlarm() = default;

void FullChargeAlarm::resetPreviousReading()
{
    previous() = PreviousReading{};
}

bool FullChargeAlarm::alertTimerActive() const
{
    return m_alertTimer && m_alertTimer->isValid();
}

void FullChargeAlarm::batteryLevelDidChange()
{
    Defaults& defaults = m_host.defaults;
    if (defaults.integerForKey(kAlertTypeKey) != kTypeOff &&
        defaults.integerForKey(kAlertTriggerKey) == kTriggerFullCharge)
        onBatteryStateChange();
}

void FullChargeAlarm::batteryStateDidChange()
{
    onBatteryStateChange();
}

bool FullChargeAlarm::fires(int state, long charge, long long trigger) const
{
    const PreviousReading& before = previous();
    if (trigger == kTriggerState)
        return state == Battery::StateFull && before.state == Battery::StateCharging;
    if (trigger == kTriggerFullCharge)
        return charge == 100 && before.charge <= 99 &&
               (state == Battery::StateCharging || state == Battery::StateFull);
    return false;
}

void FullChargeAlarm::onBatteryStateChange()
{
    const int state = m_host.battery.state();
    DynamicStats& stats = m_host.stats;
    const long charge = stats.getCharge();
    Defaults& defaults = m_host.defaults;
    const long long type = defaults.integerForKey(kAlertTypeKey);
    const long long trigger = defaults.integerForKey(kAlertTriggerKey);

    if (type != kTypeOff) {
        if (fires(state, charge, trigger)) {
            fire(type);
        } else if (stats.shouldPreventIdle()) {
            // Still charging towards the trigger (the charger may just have
            // been plugged in again): stay awake, but silence an old alarm.
            stats.preventIdle(true);
            stopAudioPlayer();
        } else if (state == Battery::StateUnplugged) {
            stats.preventIdle(false);
            stopAudioPlayer();
        }
    }
    previous() = PreviousReading{state, charge};
}

void FullChargeAlarm::fire(long long type)
{
    if (!m_player) {
        m_player = m_host.makePlayer ? m_host.makePlayer() : nullptr;
        if (m_player)
            m_player->setFinishedHandler(
                [this](bool successfully) { audioPlayerDidFinishPlaying(successfully); });
    }
    if (m_player && m_player->isPlaying())
        return; // a sounding alarm is not restarted

    if (m_player)
        m_player->setNumberOfLoops(0);
    if (type == kTypeContinuous) {
        if (m_player) {
            m_player->setNumberOfLoops(kContinuousLoops);
            m_player->play();
        }
        return;
    }
    if (m_player)
        m_player->play();
    if (type == kTypeEveryMinute) {
        if (m_alertTimer)
            m_alertTimer->invalidate();
        m_alertTimer = m_host.makeTimer();
        m_alertTimer->start(kAlertInterval, [this] { onAlertTimer(); });
    }
}

void FullChargeAlarm::onAlertTimer()
{
    if (!m_player)
        return;
    m_player->setNumberOfLoops(0);
    m_player->play();
}

void FullChargeAlarm::audioPlayerDidFinishPlaying(bool)
{
    // Between minutes of an "Every minute" alarm the machine must stay awake
    // for the next one; otherwise the alarm is over.
    const bool everyMinute = m_host.defaults.integerForKey(kAlertTypeKey) == kTypeEveryMinute;
    m_host.stats.preventIdle(everyMinute);
}

void FullChargeAlarm::stopAudioPlayer()
{
    if (m_player)
        m_player->stop();
    if (m_alertTimer) {
        m_alertTimer->invalidate();
        m_alertTimer.reset();
    }
}
