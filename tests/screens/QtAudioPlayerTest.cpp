#include "screens/battery/QtAudioPlayer.h"

#include "screens/battery/FullChargeAlarm.h"
#include "screens/ScreenFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>

#include <cmath>

using namespace screenfakes;

namespace {

// A 0.2-second 880 Hz tone as 16-bit mono PCM WAV.
QByteArray toneWav()
{
    constexpr int rate = 8000, frames = rate / 5;
    QByteArray pcm;
    QDataStream out(&pcm, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < frames; ++i)
        out << static_cast<qint16>(8000 * std::sin(2 * M_PI * 880 * i / rate));
    QByteArray wav;
    QDataStream w(&wav, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    w.writeRawData("RIFF", 4);
    w << static_cast<quint32>(36 + pcm.size());
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2)
      << quint16(16);
    w.writeRawData("data", 4);
    w << static_cast<quint32>(pcm.size());
    w.writeRawData(pcm.constData(), pcm.size());
    return wav;
}

struct SoundFile {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/tone.wav");
    SoundFile() { testsupport::writeFile(dir.path(), QStringLiteral("tone.wav"), toneWav()); }
};

} // namespace

TEST(QtAudioPlayer, AMissingSoundGivesNoPlayer)
{
    EXPECT_EQ(QtAudioPlayer::create(QStringLiteral("/nonexistent/notification.wav")), nullptr);
}

TEST(QtAudioPlayer, ShippedSoundIsAShortPcmWave)
{
    QFile f(QStringLiteral(WELVANE_SOURCE_DIR "/resources/sounds/notification.wav"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(44);
    EXPECT_TRUE(head.startsWith("RIFF"));
    EXPECT_EQ(head.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(static_cast<quint8>(head[20]), 1); // PCM, which QSoundEffect plays
    EXPECT_LT(f.size(), 200 * 1024);
}

// Whatever the machine has for sound: play must return at once, the play
// must end (by itself or silently) without hanging, and stop must work. In
// the test environment there is no audio output: the silent path.
TEST(QtAudioPlayer, PlaysOrStaysSilentWithoutCrashingOrHanging)
{
    SoundFile sound;
    auto player = QtAudioPlayer::create(sound.path);
    ASSERT_NE(player, nullptr);
    int finished = 0;
    player->setFinishedHandler([&](bool) { ++finished; });

    QElapsedTimer t;
    t.start();
    player->setNumberOfLoops(1);
    player->play();
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(player->isPlaying());
    ASSERT_TRUE(testsupport::waitUntil([&] { return finished == 1; }, std::chrono::seconds(10)));
    EXPECT_FALSE(player->isPlaying());
    if (QMediaDevices::audioOutputs().isEmpty()) {
        EXPECT_FALSE(player->audible());
    }

    // A stopped play does not report itself finished, even when silent.
    player->play();
    player->stop();
    EXPECT_FALSE(player->isPlaying());
    testsupport::waitUntil([] { return false; }, std::chrono::milliseconds(600));
    EXPECT_EQ(finished, 1);
}

TEST(QtAudioPlayer, TheAlarmWithTheRealPlayerRunsItsCourse)
{
    SoundFile sound;
    TempDefaults store;
    FakeStats host{store.defaults};
    Clock clock;
    FullChargeAlarm::resetPreviousReading();
    FullChargeAlarm alarm{FullChargeAlarm::Host{
        host.battery,
        host.stats,
        store.defaults,
        [&]() -> std::unique_ptr<AudioPlayer> { return QtAudioPlayer::create(sound.path); },
        [&] { return clock.make(); },
    }};
    store.defaults.setInteger(1, QStringLiteral("kAlertType"));
    host.battery.st = Battery::StateCharging;
    host.battery.lvl = 0.9f;
    alarm.batteryStateDidChange();
    EXPECT_TRUE(host.idle.disabled);
    host.battery.st = Battery::StateFull;
    host.battery.lvl = 1.0f;
    alarm.batteryStateDidChange();
    ASSERT_NE(alarm.audioPlayer(), nullptr);
    // "Once" ends by itself and lets the machine idle again.
    EXPECT_TRUE(
        testsupport::waitUntil([&] { return !host.idle.disabled; }, std::chrono::seconds(10)));
    EXPECT_FALSE(alarm.audioPlayer()->isPlaying());
}
