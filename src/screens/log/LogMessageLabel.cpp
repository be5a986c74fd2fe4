#include "screens/log/LogMessageLabel.h"

#include "ui/Pasteboard.h"

void LogMessageLabel::performAction(ui::EditAction action)
{
    if (action != ui::EditAction::Copy)
        return ListCopyableLabel::performAction(action);
    ui::Pasteboard::generalPasteboard().setString(m_fullText);
    setHighlighted(false);
    resignFirstResponder();
}
