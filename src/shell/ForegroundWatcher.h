#pragma once

#include <QObject>

class QWidget;
class StatusAppDelegate;

// Turns the desktop's application and window states into the delegate's
// calls: becoming active again after being hidden, minimised or suspended is
// "entering the foreground"; losing activation is "resigning active".
class ForegroundWatcher : public QObject {
    Q_OBJECT
public:
    ForegroundWatcher(StatusAppDelegate* delegate, QWidget* window, QObject* parent = nullptr);

    // The state machine, callable from tests without a window system.
    void applicationStateChanged(Qt::ApplicationState state);
    void windowMinimizedChanged(bool minimized);
    bool inBackground() const { return m_background; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StatusAppDelegate* m_delegate;
    QWidget* m_window;
    bool m_background = false;
    Qt::ApplicationState m_state = Qt::ApplicationActive;
};
