#include "shell/ForegroundWatcher.h"

#include "shell/StatusAppDelegate.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

ForegroundWatcher::ForegroundWatcher(StatusAppDelegate* delegate, QWidget* window, QObject* parent)
    : QObject(parent), m_delegate(delegate), m_window(window)
{
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            &ForegroundWatcher::applicationStateChanged);
    if (window)
        window->installEventFilter(this);
}

void ForegroundWatcher::applicationStateChanged(Qt::ApplicationState state)
{
    const Qt::ApplicationState previous = m_state;
    m_state = state;
    switch (state) {
    case Qt::ApplicationHidden:
    case Qt::ApplicationSuspended:
        if (!m_background) {
            m_background = true;
            m_delegate->applicationDidEnterBackground();
        }
        break;
    case Qt::ApplicationInactive:
        if (previous == Qt::ApplicationActive)
            m_delegate->applicationWillResignActive();
        break;
    case Qt::ApplicationActive:
        if (m_background) {
            m_background = false;
            m_delegate->applicationWillEnterForeground();
        }
        if (previous != Qt::ApplicationActive)
            m_delegate->applicationDidBecomeActive();
        break;
    }
}

void ForegroundWatcher::windowMinimizedChanged(bool minimized)
{
    if (minimized) {
        if (!m_background) {
            m_background = true;
            m_delegate->applicationDidEnterBackground();
        }
    } else if (m_background && m_state == Qt::ApplicationActive) {
        m_background = false;
        m_delegate->applicationWillEnterForeground();
    }
}

bool ForegroundWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange)
        windowMinimizedChanged(m_window->windowState() & Qt::WindowMinimized);
    return false;
}
