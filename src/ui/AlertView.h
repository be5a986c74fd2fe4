#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QMessageBox;

namespace ui {

class AlertView;

class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(AlertView* alertView, int buttonIndex) = 0;
};

// A titled message with ordered buttons; the cancel button, when given, is
// index 0 and the others follow in order. The delegate hears which was used.
class AlertView : public QObject {
    Q_OBJECT
public:
    AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
              const QString& cancelButtonTitle, const QStringList& otherButtonTitles,
              QObject* parent = nullptr);
    ~AlertView() override;

    QString title() const { return m_title; }
    QString message() const { return m_message; }
    QStringList buttonTitles() const { return m_buttons; }
    int cancelButtonIndex() const { return m_hasCancel ? 0 : -1; }
    bool isVisible() const;

    void show();
    // What choosing a button does: hide, then tell the delegate.
    void dismissWithClickedButtonIndex(int index, bool animated = false);

    // Alerts on screen now, oldest first (for tests and the dump).
    static QList<AlertView*> visibleAlerts();

Q_SIGNALS:
    void dismissed(int buttonIndex);

private:
    QString m_title;
    QString m_message;
    QStringList m_buttons;
    bool m_hasCancel;
    AlertViewDelegate* m_delegate;
    QPointer<QMessageBox> m_box;
    bool m_shown = false;
};

} // namespace ui
