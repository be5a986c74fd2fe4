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
// accepts. Observers learn through the default NotificationCenter when it is
// about to show or hide, so a refreshing screen can leave its cells alone.
class MenuController : public QObject {
    Q_OBJECT
public:
    static constexpr const char* WillShowMenuNotification =
        "MenuControllerWillShowMenuNotification";
    static constexpr const char* WillHideMenuNotification =
        "MenuControllerWillHideMenuNotification";

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

private:
    MenuController() = default;
    void menuAboutToHide();
    void perform(EditAction action);

    QMenu* m_menu = nullptr;
    QPointer<QWidget> m_targetView;
    QRect m_targetRect;
    bool m_visible = false;
};

} // namespace ui
