#include "shell/ViewAnimation.h"

#include <QPropertyAnimation>
#include <QWidget>

struct ViewAnimation::Block {
    QString name;
    DidStop didStop;
    QList<QPair<QPointer<QWidget>, QRect>> moves;
    int pending = 0;
    bool cutShort = false;
};

ViewAnimation::ViewAnimation(QObject* parent) : QObject(parent) {}

ViewAnimation::~ViewAnimation()
{
    for (const QPointer<QPropertyAnimation>& animation : std::as_const(m_running))
        if (animation)
            animation->disconnect(this);
}

void ViewAnimation::begin(const QString& name, DidStop didStop)
{
    if (m_depth++ > 0)
        return;
    m_open = std::make_shared<Block>();
    m_open->name = name;
    m_open->didStop = std::move(didStop);
}

void ViewAnimation::setFrame(QWidget* widget, const QRect& frame)
{
    if (!widget)
        return;
    if (isOpen()) {
        m_open->moves.append({widget, frame});
        return;
    }
    // A direct move wins over a running animation of the same widget.
    if (QPointer<QPropertyAnimation> running = m_running.take(widget); running) {
        running->stop();
        running->setProperty("cutShort", true);
        Q_EMIT running->finished();
    }
    widget->setGeometry(frame);
}

void ViewAnimation::commit()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    const std::shared_ptr<Block> block = std::move(m_open);
    for (const auto& [widget, frame] : block->moves) {
        if (!widget)
            continue;
        if (QPointer<QPropertyAnimation> old = m_running.take(widget.data()); old) {
            old->stop();
            old->setProperty("cutShort", true);
            Q_EMIT old->finished();
        }
        if (widget->geometry() == frame || m_durationMs <= 0) {
            widget->setGeometry(frame);
            continue;
        }
        auto* animation = new QPropertyAnimation(widget, "geometry", this);
        animation->setDuration(m_durationMs);
        animation->setEasingCurve(QEasingCurve::InOutQuad);
        animation->setEndValue(frame);
        ++block->pending;
        m_running.insert(widget.data(), animation);
        QWidget* key = widget.data();
        connect(animation, &QPropertyAnimation::finished, this, [this, block, animation, key] {
            if (m_running.value(key) == animation)
                m_running.remove(key);
            finishOne(block, animation->property("cutShort").toBool());
            animation->deleteLater();
        });
        animation->start();
    }
    if (block->pending == 0 && block->didStop)
        block->didStop(block->name, true);
}

void ViewAnimation::finishOne(const std::shared_ptr<Block>& block, bool cutShort)
{
    block->cutShort = block->cutShort || cutShort;
    if (--block->pending == 0 && block->didStop)
        block->didStop(block->name, !block->cutShort);
}
