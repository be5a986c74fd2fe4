#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>

namespace ui {

// A button of a navigation bar: a title or icon and the action it runs.
class BarButtonItem : public QObject {
    Q_OBJECT
public:
    explicit BarButtonItem(const QString& title = {}, std::function<void()> action = {},
                           QObject* parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    QIcon icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    void setAction(std::function<void()> action) { m_action = std::move(action); }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // What a click on the button does.
    void trigger();

Q_SIGNALS:
    void changed();

private:
    QString m_title;
    QIcon m_icon;
    std::function<void()> m_action;
    bool m_enabled = true;
};

} // namespace ui
