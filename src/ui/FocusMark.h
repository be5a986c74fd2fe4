#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace ui {

// The one look of keyboard focus across the view kit's controls: a 2-point
// amber ring, visible on the blue bars and on white rows alike.
class FocusMark {
public:
    static QColor color() { return QColor(255, 176, 32); }
    // Rings the widget's own rectangle; call at the end of its paint event.
    static void paint(QWidget* widget);
    // The style-sheet rule that rings a styled button class when it has focus.
    static QString styleRule(const QString& selector);
};

} // namespace ui
