#pragma once

#include "drawing/ListCopyableLabel.h"

// The message label of a log row. A huge message is shown cut, but Copy
// puts the whole text on the pasteboard.
class LogMessageLabel : public ListCopyableLabel {
    Q_OBJECT
public:
    using ListCopyableLabel::ListCopyableLabel;

    void setFullText(const QString& text) { m_fullText = text; }
    QString fullText() const { return m_fullText; }

    void performAction(ui::EditAction action) override;

private:
    QString m_fullText;
};
