#pragma once
// Stand-ins for the alarm's and the battery pages' host: a player that
// records what it is asked, timers driven by a hand-advanced clock, and a
// statistics collector over a fake battery and idle inhibitor.

#include "host/AudioPlayer.h"
#include "host/Mailer.h"
#include "host/settings/Defaults.h"
#include "screens/common/RepeatingTimer.h"
#include "stats/DynamicStats.h"
#include "stats/StaticStats.h"
#include "stats/StatsFakes.h"
#include "support/IdiomScope.h"
#include "ui/Device.h"

#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace screenfakes {

struct FakePlayer : AudioPlayer {
    int plays = 0;
    int stops = 0;
    int loops = -1;
    std::vector<int> loopsAtPlay;
    bool playing = false;

    bool isPlaying() const override { return playing; }
    void setNumberOfLoops(int n) override { loops = n; }
    int numberOfLoops() const override { return loops; }
    void play() override
    {
        ++plays;
        loopsAtPlay.push_back(loops);
        playing = true;
    }
    void stop() override
    {
        ++stops;
        playing = false;
    }
    // The sound reaching its end by itself.
    void finish()
    {
        playing = false;
        finishedPlaying(true);
    }
};

// Timers that fire only when the test moves the clock on.
class Clock {
public:
    struct Timer : RepeatingTimer {
        Clock* clock = nullptr;
        std::chrono::milliseconds interval{0};
        std::chrono::milliseconds due{0};
        std::function<void()> tick;
        bool valid = false;
        ~Timer() override { clock->forget(this); }
        void start(std::chrono::milliseconds every, std::function<void()> handler) override
        {
            interval = every;
            due = clock->now + every;
            tick = std::move(handler);
            valid = true;
        }
        void invalidate() override { valid = false; }
        bool isValid() const override { return valid; }
    };

    std::unique_ptr<RepeatingTimer> make()
    {
        auto timer = std::make_unique<Timer>();
        timer->clock = this;
        ++made;
        timers.push_back(timer.get());
        return timer;
    }
    // Fires every valid timer that falls due up to now + step, in order.
    void advance(std::chrono::milliseconds step)
    {
        const auto end = now + step;
        for (;;) {
            Timer* next = nullptr;
            for (Timer* t : timers)
                if (t->valid && t->due <= end && (!next || t->due < next->due))
                    next = t;
            if (!next)
                break;
            now = next->due;
            next->due += next->interval;
            next->tick();
        }
        now = end;
    }
    // A deleted timer leaves the clock.
    void forget(Timer* timer) { std::erase(timers, timer); }

    std::chrono::milliseconds now{0};
    std::vector<Timer*> timers;
    int made = 0;
};

// A defaults store in a private folder.
struct TempDefaults {
    QTemporaryDir dir;
    Defaults defaults{dir.path() + QStringLiteral("/welvane.conf")};
    // What another reader of the file sees, i.e. what was synchronized.
    long long storedInteger(const QString& key) const
    {
        return Defaults(dir.path() + QStringLiteral("/welvane.conf")).integerForKey(key);
    }
};

// DynamicStats over a fake battery and idle inhibitor, reading the trigger
// from the given defaults.
struct FakeStats {
    fakes::Kernel kernel;
    fakes::FakeBattery battery;
    fakes::Inhibitor idle;
    DynamicStats stats;
    FakeStats(Defaults& defaults, bool simulator = false)
        : stats(DynamicStats::Host{
              kernel,
              battery,
              idle,
              [&defaults] { return defaults.integerForKey(QStringLiteral("kAlertTrigger")); },
              simulator,
              {}})
    {
    }
};

// A mailer that records each message and, when told, reports a failure.
struct FakeMailer : Mailer {
    bool canSend = true;
    std::optional<QString> failure;
    QList<Message> sent;
    bool canSendMail() const override { return canSend; }
    void compose(const Message& m, Finished finished) override
    {
        sent.append(m);
        if (finished)
            finished(!failure, failure.value_or(QString()));
    }
};

// The host services StaticStats reads, as fakes.
struct Machine {
    fakes::Kernel kernel;
    fakes::Identity identity;
    fakes::Probe probe;
    fakes::FakeModem modem;
    StaticStats::Host host() { return {kernel, identity, probe, modem}; }
};

using IdiomScope = testsupport::IdiomScope;

} // namespace screenfakes
