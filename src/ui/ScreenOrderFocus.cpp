#include "ui/ScreenOrderFocus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {
void collect(QWidget* widget, QWidget* root, QList<QWidget*>& out)
{
    if (widget != root && (!widget->isVisible() || !widget->isEnabled()))
        return;
    if (widget != root && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
        out.append(widget);
    QList<QWidget*> children;
    for (QObject* child : widget->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            children.append(w);
    // Siblings side by side share a top edge: the left one first.
    std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) {
        const QRect ga = a->geometry();
        const QRect gb = b->geometry();
        return ga.top() != gb.top() ? ga.top() < gb.top() : ga.left() < gb.left();
    });
    for (QWidget* child : children)
        collect(child, root, out);
}
} // namespace

ScreenOrderFocus::ScreenOrderFocus(QWidget* window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
}

QList<QWidget*> ScreenOrderFocus::chain(QWidget* root)
{
    QList<QWidget*> out;
    if (root)
        collect(root, root, out);
    return out;
}

bool ScreenOrderFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !m_window)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool back = key->key() == Qt::Key_Backtab ||
                      (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
    if ((key->key() != Qt::Key_Tab && !back) ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    const QList<QWidget*> order = chain(m_window);
    if (order.isEmpty())
        return false;
    const qsizetype at = order.indexOf(QApplication::focusWidget());
    const qsizetype n = order.size();
    const qsizetype next = at < 0 ? (back ? n - 1 : 0) : (at + (back ? n - 1 : 1)) % n;
    order[next]->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
}

} // namespace ui
