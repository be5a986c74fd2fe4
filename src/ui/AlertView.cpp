#include "ui/AlertView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace ui {

namespace {
QList<AlertView*>& shownAlerts()
{
    static QList<AlertView*> alerts;
    return alerts;
}
} // namespace

AlertView::AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate,
                     const QString& cancelButtonTitle, const QStringList& otherButtonTitles,
                     QObject* parent)
    : QObject(parent), m_title(title), m_message(message),
      m_hasCancel(!cancelButtonTitle.isEmpty()), m_delegate(delegate)
{
    if (m_hasCancel)
        m_buttons.append(cancelButtonTitle);
    m_buttons.append(otherButtonTitles);
}

AlertView::~AlertView()
{
    shownAlerts().removeAll(this);
    delete m_box.data();
}

bool AlertView::isVisible() const
{
    return m_shown;
}

void AlertView::show()
{
    if (m_shown)
        return;
    m_shown = true;
    shownAlerts().append(this);
    m_box = new QMessageBox(QMessageBox::NoIcon, m_title, m_message, QMessageBox::NoButton,
                            QApplication::activeWindow());
    m_box->setWindowModality(Qt::ApplicationModal);
    m_box->setAccessibleName(m_title);
    for (int i = 0; i < m_buttons.size(); ++i) {
        const auto role =
            (m_hasCancel && i == 0) ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        QPushButton* b = m_box->addButton(m_buttons[i], role);
        connect(b, &QPushButton::clicked, this, [this, i] { dismissWithClickedButtonIndex(i); });
    }
    m_box->open();
}

void AlertView::dismissWithClickedButtonIndex(int index, bool)
{
    if (!m_shown)
        return;
    m_shown = false;
    shownAlerts().removeAll(this);
    if (m_box) {
        m_box->hide();
        m_box->deleteLater();
    }
    if (m_delegate)
        m_delegate->alertViewClickedButtonAtIndex(this, index);
    Q_EMIT dismissed(index);
}

QList<AlertView*> AlertView::visibleAlerts()
{
    return shownAlerts();
}

} // namespace ui
