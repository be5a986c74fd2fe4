#include "screens/battery/QtAudioPlayer.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>

namespace {
const QString kShipped = QStringLiteral(WELVANE_SOURCE_DIR "/resources/sounds/notification.wav");
}

TEST(QtAudioPlayer, ShippedSoundIsAShortPcmWaveAndAMissingOneGivesNoPlayer)
{
    EXPECT_EQ(QtAudioPlayer::create(QStringLiteral("/nonexistent/notification.wav")), nullptr);
    QFile f(kShipped);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(44);
    EXPECT_EQ(head.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(static_cast<quint8>(head[20]), 1); // PCM, which QSoundEffect plays
    EXPECT_LT(f.size(), 200 * 1024);
}

// Whatever the machine has for sound (the tests have none): play returns at
// once, the play ends without hanging, and a stopped play never reports.
TEST(QtAudioPlayer, PlaysOrStaysSilentWithoutCrashingOrHanging)
{
    auto player = QtAudioPlayer::create(kShipped);
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

    player->play();
    player->stop();
    EXPECT_FALSE(player->isPlaying());
    testsupport::waitUntil([] { return false; }, std::chrono::milliseconds(600));
    EXPECT_EQ(finished, 1);
}
