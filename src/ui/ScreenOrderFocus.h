#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// Tab and Shift+Tab in a window move the keyboard focus in the order the
// controls sit on screen (panes left to right, then top to bottom inside
// each), not in the order the widgets happened to be made or moved: pages
// are re-parented between stacks, tabs and popovers as the user goes.

namespace ui {

class ScreenOrderFocus : public QObject {
    Q_OBJECT
public:
    // Watches Tab keys in window; owned by it.
    explicit ScreenOrderFocus(QWidget* window);

    // The visible, enabled controls under root that take focus by Tab,
    // in screen order.
    static QList<QWidget*> chain(QWidget* root);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
};

} // namespace ui
