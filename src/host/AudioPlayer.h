#pragma once

#include <functional>
#include <utility>

// One sound, loaded once and played on request. A machine without sound
// output keeps the player silent: play() then does nothing audible, and the
// player must neither block nor throw.
class AudioPlayer {
public:
    // successfully is false when the sound could not be played to its end.
    using FinishedHandler = std::function<void(bool successfully)>;

    virtual ~AudioPlayer() = default;

    virtual bool isPlaying() const = 0;
    // Extra repetitions after the first play: 0 plays the sound once.
    virtual void setNumberOfLoops(int loops) = 0;
    virtual int numberOfLoops() const = 0;
    virtual void play() = 0;
    // Stops at once; a stopped sound does not report itself finished.
    virtual void stop() = 0;

    // Called when a play ends by itself, after its last loop.
    void setFinishedHandler(FinishedHandler handler) { m_finished = std::move(handler); }

protected:
    void finishedPlaying(bool successfully)
    {
        if (m_finished)
            m_finished(successfully);
    }

private:
    FinishedHandler m_finished;
};
