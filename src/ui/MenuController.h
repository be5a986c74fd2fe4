#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QMenu;
class QWidget;

namespace ui {

enum class EditAction;

// The one edit menu of the application (Copy and its kin). It points at a
// target rectangle of a view and offers the commands the first responder
// accepts. menuWillShow and menuWillHide come in pairs, whatever closes the
// menu (a command, a tap elsewhere, the target view hidden or gone), so a
// screen that pauses its refresh while the menu is up always resumes.
class MenuController : public QObject {
    Q_OBJECT
public:
    static MenuController& sharedMenuController();

    // rect is in view's own coordinates.
    void setTargetRect(const QRect& rect, QWidget* view);
    QRect targetRect() const { return m_targetRect; }
    QWidget* targetView() const { return m_targetView; }

    bool isMenuVisible() const { return m_visible; }
    // Animation is not offered; the argument keeps callers' intent visible.
    void setMenuVisible(bool visible, bool animated);
    // Rebuilds the commands from what the first responder accepts now.
    void update();

    // The widget underneath, for callers that drive or inspect it.
    QMenu* menu();
    // Where a menu of that size opens for a target, all in screen
    // coordinates: above the target, else below it, inside the window.
    static QPoint calloutPosition(const QRect& target, QSize menu, const QRect& window);

Q_SIGNALS:
    void menuWillShow();
    void menuWillHide();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MenuController() = default;
    void menuAboutToHide();
    void perform(EditAction action);

    QMenu* m_menu = nullptr;
    QPointer<QWidget> m_targetView;
    QMetaObject::Connection m_targetGone;
    QRect m_targetRect;
    bool m_visible = false;
};

} // namespace ui
