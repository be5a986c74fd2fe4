#pragma once

#include "ui/BarButtonItem.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace ui {

// What a page shows in the navigation bar while it is on top: its title and
// the bar buttons. A left button takes the place of the back button.
class NavigationItem : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    BarButtonItem* leftBarButtonItem() const { return m_left; }
    void setLeftBarButtonItem(BarButtonItem* item, bool animated = false);
    BarButtonItem* rightBarButtonItem() const { return m_right; }
    void setRightBarButtonItem(BarButtonItem* item, bool animated = false);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides);

Q_SIGNALS:
    void changed();

private:
    QString m_title;
    QPointer<BarButtonItem> m_left;
    QPointer<BarButtonItem> m_right;
    bool m_hidesBackButton = false;
};

} // namespace ui
