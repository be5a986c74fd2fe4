#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>

class QFrame;
class QWidget;

namespace ui {

class ViewController;

// A floating panel that shows one page's view next to the control that
// opened it; a click elsewhere closes it.
class Popover : public QObject {
    Q_OBJECT
public:
    explicit Popover(ViewController* content, QObject* parent = nullptr);
    ~Popover() override;

    ViewController* contentViewController() const { return m_content; }
    QSize popoverContentSize() const { return m_size; }
    void setPopoverContentSize(QSize size) { m_size = size; }

    // Shows the panel below `anchor` (or at the top-left of its window).
    void presentFrom(QWidget* anchor, bool animated);
    void dismissPopoverAnimated(bool animated);
    bool isPopoverVisible() const;

Q_SIGNALS:
    void didDismiss();

private:
    ViewController* m_content;
    QPointer<QFrame> m_frame;
    QSize m_size{250, 462};
    bool m_visible = false;
};

} // namespace ui
