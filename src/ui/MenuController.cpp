#include "ui/MenuController.h"

#include "ui/Responder.h"

#include <QEvent>
#include <QMenu>
#include <QWidget>

#include <algorithm>

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
    if (m_targetView && m_targetView != view)
        m_targetView->removeEventFilter(this);
    disconnect(m_targetGone);
    m_targetRect = rect;
    m_targetView = view;
    // A menu left pointing at a view that has gone (a re-layout after the
    // window turned, a hidden window) closes with it.
    if (view) {
        view->installEventFilter(this);
        m_targetGone = connect(view, &QObject::destroyed, this, [this] {
            if (m_visible)
                setMenuVisible(false, false);
        });
    }
}

bool MenuController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_targetView && m_visible && event->type() == QEvent::Hide)
        setMenuVisible(false, false);
    return false;
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
        // Signal first and clear the flag so the menu's own hide signal does
        // not signal a second time.
        m_visible = false;
        Q_EMIT menuWillHide();
        menu()->hide();
        return;
    }
    if (!m_targetView)
        return;
    update();
    if (menu()->actions().isEmpty())
        return;
    m_visible = true;
    Q_EMIT menuWillShow();
    const QSize size = menu()->sizeHint();
    const QWidget* window = m_targetView->window();
    const QRect target(m_targetView->mapToGlobal(m_targetRect.topLeft()), m_targetRect.size());
    menu()->popup(
        calloutPosition(target, size, QRect(window->mapToGlobal(QPoint(0, 0)), window->size())));
}

QPoint MenuController::calloutPosition(const QRect& target, QSize menu, const QRect& window)
{
    // Like a callout: centred above the target rectangle, or below it when
    // there is no room above; kept inside the window, whose edge a narrow
    // phone-sized window would otherwise cut through the menu.
    int x = target.center().x() - menu.width() / 2;
    int y = target.top() - menu.height();
    if (y < window.top())
        y = target.bottom() + 1;
    x = std::clamp(x, window.left(), std::max(window.left(), window.right() + 1 - menu.width()));
    y = std::clamp(y, window.top(), std::max(window.top(), window.bottom() + 1 - menu.height()));
    return QPoint(x, y);
}

void MenuController::menuAboutToHide()
{
    // Every other way the menu closes: a tap elsewhere, close(), Escape.
    if (!m_visible)
        return;
    m_visible = false;
    Q_EMIT menuWillHide();
}

void MenuController::perform(EditAction action)
{
    setMenuVisible(false, true);
    if (Responder* responder = Responder::firstResponder())
        responder->performAction(action);
}

} // namespace ui
