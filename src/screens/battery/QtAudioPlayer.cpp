#include "screens/battery/QtAudioPlayer.h"

#include <QFileInfo>
#include <QMediaDevices>
#include <QTimer>
#include <QUrl>

std::unique_ptr<QtAudioPlayer> QtAudioPlayer::create(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    return std::make_unique<QtAudioPlayer>(path);
}

QtAudioPlayer::QtAudioPlayer(const QString& path, QObject* parent) : QObject(parent)
{
    const QUrl url = path.startsWith(QLatin1String(":/"))
                         ? QUrl(QStringLiteral("qrc") + path)
                         : QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    m_effect.setSource(url);
    connect(&m_effect, &QSoundEffect::playingChanged, this, &QtAudioPlayer::onPlayingChanged);
    connect(&m_effect, &QSoundEffect::statusChanged, this, &QtAudioPlayer::onStatusChanged);
}

void QtAudioPlayer::setNumberOfLoops(int loops)
{
    m_loops = std::max(0, loops);
}

void QtAudioPlayer::play()
{
    ++m_playNumber;
    m_playing = true;
    m_started = false;
    m_audible =
        !QMediaDevices::audioOutputs().isEmpty() && m_effect.status() != QSoundEffect::Error;
    if (!m_audible) {
        const unsigned number = m_playNumber;
        QTimer::singleShot(0, this, [this, number] {
            if (m_playing && number == m_playNumber)
                finish(false);
        });
        return;
    }
    // QSoundEffect counts plays, the player counts repetitions after the first.
    m_effect.setLoopCount(m_loops + 1);
    m_effect.play();
}

void QtAudioPlayer::stop()
{
    m_playing = false;
    m_started = false;
    m_effect.stop();
}

void QtAudioPlayer::onPlayingChanged()
{
    if (m_effect.isPlaying()) {
        m_started = true;
        return;
    }
    if (m_playing && m_started)
        finish(true);
}

void QtAudioPlayer::onStatusChanged()
{
    // A sound that turns out undecodable ends the play that waited for it.
    if (m_effect.status() == QSoundEffect::Error && m_playing)
        finish(false);
}

void QtAudioPlayer::finish(bool successfully)
{
    m_playing = false;
    m_started = false;
    finishedPlaying(successfully);
}
