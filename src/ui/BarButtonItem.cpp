#include "ui/BarButtonItem.h"

namespace ui {

BarButtonItem::BarButtonItem(const QString& title, std::function<void()> action, QObject* parent)
    : QObject(parent), m_title(title), m_action(std::move(action))
{
}

void BarButtonItem::setTitle(const QString& title)
{
    m_title = title;
    Q_EMIT changed();
}

void BarButtonItem::setIcon(const QIcon& icon)
{
    m_icon = icon;
    Q_EMIT changed();
}

void BarButtonItem::setEnabled(bool enabled)
{
    m_enabled = enabled;
    Q_EMIT changed();
}

void BarButtonItem::trigger()
{
    if (m_enabled && m_action)
        m_action();
}

} // namespace ui
