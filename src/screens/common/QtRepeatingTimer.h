#pragma once

#include "screens/common/RepeatingTimer.h"

#include <QTimer>

// RepeatingTimer on the main event loop.
class QtRepeatingTimer : public RepeatingTimer {
public:
    QtRepeatingTimer();

    void start(std::chrono::milliseconds interval, std::function<void()> tick) override;
    void invalidate() override;
    bool isValid() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_tick;
};
