#pragma once

// Whether this machine can reach the Internet, as the desktop's network
// service sees it. Asked from any thread; never waits on anything.
class Reachability {
public:
    enum class State {
        Reachable,
        Unreachable,
        Unknown, // no source could be read
    };

    virtual ~Reachability() = default;
    virtual State state() const = 0;
};
