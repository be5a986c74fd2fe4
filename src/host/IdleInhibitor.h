#pragma once

// Keeps the screen from blanking and the machine from going idle while an
// alarm waits for the battery. Failure to inhibit is silent.
class IdleInhibitor {
public:
    virtual ~IdleInhibitor() = default;
    // true takes an inhibition (once, however often it is asked); false releases it.
    virtual void setIdleTimerDisabled(bool disabled) = 0;
    virtual bool idleTimerDisabled() const = 0;
};
