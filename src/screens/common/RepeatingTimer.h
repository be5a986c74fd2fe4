#pragma once

#include <chrono>
#include <functional>

// A timer that calls its handler at a fixed interval until invalidated. The
// screens take one through a factory so tests can advance time by hand.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    virtual void start(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
};
