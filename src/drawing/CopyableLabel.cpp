#include "drawing/CopyableLabel.h"

#include "ui/Device.h"
#include "ui/MenuController.h"
#include "ui/Pasteboard.h"

#include <QMouseEvent>

CopyableLabel::CopyableLabel(QWidget* parent) : QLabel(parent)
{
    setUserInteractionEnabled(false);
}

bool CopyableLabel::canPerformAction(ui::EditAction action) const
{
    return action == ui::EditAction::Copy || ui::Responder::canPerformAction(action);
}

void CopyableLabel::performAction(ui::EditAction action)
{
    if (action == ui::EditAction::Copy)
        copy();
}

bool CopyableLabel::becomeFirstResponder()
{
    if (!ui::Responder::becomeFirstResponder())
        return false;
    setHighlighted(true);
    return true;
}

bool CopyableLabel::resignFirstResponder()
{
    const bool resigned = ui::Responder::resignFirstResponder();
    if (resigned)
        setHighlighted(false);
    return resigned;
}

void CopyableLabel::copy()
{
    ui::Pasteboard::generalPasteboard().setString(text());
    setHighlighted(false);
    resignFirstResponder();
}

void CopyableLabel::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    setProperty("highlighted", highlighted);
    update();
}

bool CopyableLabel::isUserInteractionEnabled() const
{
    return !testAttribute(Qt::WA_TransparentForMouseEvents);
}

void CopyableLabel::setUserInteractionEnabled(bool enabled)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
}

QRect CopyableLabel::menuTargetRect() const
{
    // Values are right-aligned, so point near the right end.
    const int x = width() - (ui::Device::isPad() ? 34 : 40);
    return QRect(x, 0, 40, height());
}

void CopyableLabel::toggleMenu()
{
    ui::MenuController& menu = ui::MenuController::sharedMenuController();
    if (isFirstResponder()) {
        setHighlighted(false);
        menu.setMenuVisible(false, true);
        menu.update();
        resignFirstResponder();
        return;
    }
    if (!becomeFirstResponder())
        return;
    menu.setTargetRect(menuTargetRect(), this);
    menu.setMenuVisible(true, true);
}

void CopyableLabel::mousePressEvent(QMouseEvent* event)
{
    // Take the press so the release comes here rather than to the cell.
    event->accept();
}

void CopyableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        toggleMenu();
}
