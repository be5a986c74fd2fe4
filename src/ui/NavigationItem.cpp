#include "ui/NavigationItem.h"

#include "ui/BarButtonItem.h"

namespace ui {

void NavigationItem::setTitle(const QString& title)
{
    m_title = title;
    Q_EMIT changed();
}

void NavigationItem::setLeftBarButtonItem(BarButtonItem* item, bool)
{
    m_left = item;
    Q_EMIT changed();
}

void NavigationItem::setRightBarButtonItem(BarButtonItem* item, bool)
{
    m_right = item;
    Q_EMIT changed();
}

void NavigationItem::setHidesBackButton(bool hides)
{
    m_hidesBackButton = hides;
    Q_EMIT changed();
}

} // namespace ui
