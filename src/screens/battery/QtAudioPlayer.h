#pragma once

#include "host/AudioPlayer.h"

#include <QAudioDevice> // qsoundeffect.h needs it complete (Qt 6.4)
#include <QObject>
#include <QSoundEffect>
#include <QString>

#include <memory>

// AudioPlayer over QSoundEffect, for short uncompressed WAV sounds. Without an
// audio output QSoundEffect claims to play for ever, which would block every
// later alarm; so with no output the player stays silent and reports the play
// finished (unsuccessfully) on the next turn of the event loop.
class QtAudioPlayer : public QObject, public AudioPlayer {
    Q_OBJECT
public:
    // A player of the sound at path (a file or a ":/" resource), or nullptr
    // when there is no such sound.
    static std::unique_ptr<QtAudioPlayer> create(const QString& path);

    explicit QtAudioPlayer(const QString& path, QObject* parent = nullptr);

    bool isPlaying() const override { return m_playing; }
    void setNumberOfLoops(int loops) override;
    int numberOfLoops() const override { return m_loops; }
    void play() override;
    void stop() override;

    // Whether the last play went to an audio output (false: stayed silent).
    bool audible() const { return m_audible; }

private:
    void onPlayingChanged();
    void onStatusChanged();
    void finish(bool successfully);

    QSoundEffect m_effect;
    int m_loops = 0;
    bool m_playing = false; // from play() until the end or stop()
    bool m_started = false; // the effect has reported itself playing
    bool m_audible = false;
    unsigned m_playNumber = 0; // tells a pending silent finish from a later play
};
