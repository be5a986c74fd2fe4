#pragma once

#include "ui/Responder.h"

#include <QLabel>

// A value label that offers the single Copy command when tapped: the first
// tap highlights it and shows the shared edit menu pointing near its right
// end, a second tap (or Copy) hides the menu and leaves it idle.
class CopyableLabel : public QLabel, public ui::Responder {
    Q_OBJECT
public:
    explicit CopyableLabel(QWidget* parent = nullptr);

    bool canBecomeFirstResponder() const override { return true; }
    bool canPerformAction(ui::EditAction action) const override;
    void performAction(ui::EditAction action) override;
    // Highlights the label when it becomes first responder.
    bool becomeFirstResponder() override;
    // Losing first responder also clears the highlight.
    bool resignFirstResponder() override;

    // Puts the text on the general pasteboard and returns to idle.
    void copy();

    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    // Off by default, as for any label: taps pass through to the cell.
    bool isUserInteractionEnabled() const;
    void setUserInteractionEnabled(bool enabled);

    // What a tap does: show the menu, or hide it if it is showing.
    void toggleMenu();
    // Where the menu points, in the label's own coordinates.
    virtual QRect menuTargetRect() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_highlighted = false;
};
