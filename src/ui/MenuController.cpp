#include "ui/MenuController.h"

#include "host/NotificationCenter.h"
#include "ui/Responder.h"

#include <QMenu>
#include <QWidget>

namespace ui {

namespace {
struct Command {
    EditAction action;
    const char* title;
};
constexpr Command kCommands[] = {
    {EditAction::Cut, "Cut"},
    {EditAction::Copy, "Copy"},
    {EditAction::Paste, "Paste"},
    {EditAction::Select, "Select"},
    {EditAction::SelectAll, "Select All"},
    {EditAction::Delete, "Delete"},
};
} // namespace

MenuController& MenuController::sharedMenuController()
{
    // Never destroyed: the menu is a widget and must not outlive the
    // application object in a static destructor.
    static MenuController* shared = new MenuController;
    return *shared;
}

QMenu* MenuController::menu()
{
    if (!m_menu) {
        m_menu = new QMenu;
        m_menu->setAccessibleName(QStringLiteral("Edit menu"));
        connect(m_menu, &QMenu::aboutToHide, this, &MenuController::menuAboutToHide);
    }
    return m_menu;
}

void MenuController::setTargetRect(const QRect& rect, QWidget* view)
{
    m_targetRect = rect;
    m_targetView = view;
}

void MenuController::update()
{
    QMenu* m = menu();
    m->clear();
    Responder* responder = Responder::firstResponder();
    if (!responder)
        return;
    for (const Command& command : kCommands) {
        if (!responder->canPerformAction(command.action))
            continue;
        const EditAction action = command.action;
        m->addAction(QString::fromLatin1(command.title), this, [this, action] { perform(action); });
    }
}

void MenuController::setMenuVisible(bool visible, bool)
{
    if (visible == m_visible)
        return;
    if (!visible) {
        // Post first and clear the flag so the menu's own hide signal does
        // not post a second time.
        m_visible = false;
        NotificationCenter::defaultCenter().postNotification(WillHideMenuNotification, this);
        menu()->hide();
        return;
    }
    if (!m_targetView)
        return;
    update();
    if (menu()->actions().isEmpty())
        return;
    m_visible = true;
    NotificationCenter::defaultCenter().postNotification(WillShowMenuNotification, this);
    // Like a callout: centred above the target rectangle.
    const QSize size = menu()->sizeHint();
    const QPoint anchor = m_targetView->mapToGlobal(
        QPoint(m_targetRect.center().x() - size.width() / 2, m_targetRect.top() - size.height()));
    menu()->popup(anchor);
}

void MenuController::menuAboutToHide()
{
    // Dismissed by the user tapping elsewhere.
    if (!m_visible)
        return;
    m_visible = false;
    NotificationCenter::defaultCenter().postNotification(WillHideMenuNotification, this);
}

void MenuController::perform(EditAction action)
{
    setMenuVisible(false, true);
    if (Responder* responder = Responder::firstResponder())
        responder->performAction(action);
}

} // namespace ui
