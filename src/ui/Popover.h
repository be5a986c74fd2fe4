#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

class QFrame;
#include <QWidget>

namespace ui {

class ViewController;

// A floating panel inside a window that shows one page's view next to the
// control that opened it; a press elsewhere closes it.
class Popover : public QObject {
    Q_OBJECT
public:
    explicit Popover(ViewController* content, QObject* parent = nullptr);
    ~Popover() override;

    ViewController* contentViewController() const { return m_content; }
    QSize popoverContentSize() const { return m_size; }
    void setPopoverContentSize(QSize size) { m_size = size; }

    // Shows the panel with its top-left corner at `offset` inside `anchor`
    // (kept on the anchor's screen).
    void presentFrom(QWidget* anchor, QPoint offset, bool animated);
    void dismissPopoverAnimated(bool animated);
    bool isPopoverVisible() const;

Q_SIGNALS:
    // Sent when a press outside the panel or Escape closed it.
    void didDismiss();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ViewController* m_content;
    QPointer<QFrame> m_frame;
    QPointer<QWidget> m_previousFocus;
    QSize m_size{250, 462};
    bool m_visible = false;
};

} // namespace ui
