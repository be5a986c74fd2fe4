#include "ui/Popover.h"

#include "ui/ViewController.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

// The panel lives inside the window it belongs to, above everything else
// there, like the handheld platform's popovers: no separate top-level window
// for the window system to place (or leave unpainted).
Popover::Popover(ViewController* content, QObject* parent) : QObject(parent), m_content(content) {}

Popover::~Popover()
{
    if (m_frame) {
        // The content's view belongs to its controller, not to the panel.
        if (m_content && m_content->isViewLoaded() && m_content->view()->parentWidget() == m_frame)
            m_content->view()->setParent(nullptr);
        delete m_frame.data();
    }
}

bool Popover::isPopoverVisible() const
{
    return m_visible;
}

void Popover::presentFrom(QWidget* anchor, QPoint offset, bool animated)
{
    if (!anchor)
        return;
    QWidget* window = anchor->window();
    if (!m_frame || m_frame->parentWidget() != window) {
        delete m_frame.data();
        m_frame = new QFrame(window);
        m_frame->setFrameShape(QFrame::Box);
        m_frame->setAccessibleName(QStringLiteral("popover"));
        m_frame->setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(m_frame);
        layout->setContentsMargins(1, 1, 1, 1);
    }
    QWidget* page = m_content->view();
    if (page->parentWidget() != m_frame.data())
        m_frame->layout()->addWidget(page);
    page->show();

    // Keep the panel inside the window.
    const QSize size(std::min(m_size.width(), window->width()),
                     std::min(m_size.height(), window->height()));
    QPoint at = anchor->mapTo(window, offset);
    at.setX(std::clamp(at.x(), 0, std::max(0, window->width() - size.width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, window->height() - size.height())));
    m_frame->setGeometry(QRect(at, size));

    m_visible = true;
    m_content->beginAppearance(animated);
    m_frame->show();
    m_frame->raise();
    // The keyboard follows the panel, and goes back where it was after.
    m_previousFocus = QApplication::focusWidget();
    page->setFocus(Qt::PopupFocusReason);
    qApp->installEventFilter(this);
    m_content->endAppearance(animated);
}

void Popover::dismissPopoverAnimated(bool)
{
    if (!m_visible)
        return;
    m_visible = false;
    qApp->removeEventFilter(this);
    if (m_content)
        m_content->beginDisappearance(false);
    if (m_frame)
        m_frame->hide();
    if (m_previousFocus && m_previousFocus->isVisible())
        m_previousFocus->setFocus(Qt::PopupFocusReason);
    if (m_content)
        m_content->endDisappearance(false);
}

bool Popover::eventFilter(QObject* watched, QEvent* event)
{
    // Escape closes it as it closes the copy menu.
    if (m_visible && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        dismissPopoverAnimated(true);
        Q_EMIT didDismiss();
        return true;
    }
    // A press anywhere outside the panel closes it, as on the platform.
    if (m_visible && m_frame && event->type() == QEvent::MouseButtonPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow() == false && !m_frame->isAncestorOf(widget) &&
            widget != m_frame) {
            dismissPopoverAnimated(true);
            Q_EMIT didDismiss();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
