#pragma once

#include <QPointer>
#include <QWidget>

class QIcon;
class QLabel;
class QPushButton;

namespace ui {

class NavigationController;
class NavigationItem;

// The bar above a navigation stack: the top page's title, its left button or
// a back button to the page below, and its right button.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit NavigationBar(NavigationController* controller, QWidget* parent = nullptr);

    // The item of the page on top of the stack.
    NavigationItem* topItem() const;
    // The back button's title, empty when no back button shows.
    QString backButtonTitle() const;
    QPushButton* leftButton() const { return m_left; }
    QPushButton* rightButton() const { return m_right; }
    QString titleText() const;

    // Rebuilds the bar from the current top item.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();
    static void showButton(QPushButton* button, const QString& title, const QIcon& icon,
                           bool enabled);

    NavigationController* m_controller;
    QLabel* m_title;
    QString m_fullTitle;
    QPushButton* m_left;
    QPushButton* m_right;
    QPointer<NavigationItem> m_watched;
    bool m_leftIsBack = false;
};

} // namespace ui
