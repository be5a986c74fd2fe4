#pragma once

#include <QPointer>
#include <QWidget>

class QuillSplitViewController;

// The bar between the split view's panes: a black hairline, or a grey grip
// bar that the user drags to move the split.
class QuillSplitDividerView : public QWidget {
    Q_OBJECT
public:
    explicit QuillSplitDividerView(QWidget* parent = nullptr);

    QuillSplitViewController* splitViewController() const { return m_splitViewController; }
    void setSplitViewController(QuillSplitViewController* controller)
    {
        m_splitViewController = controller;
    }
    bool allowsDragging() const { return m_allowsDragging; }
    // Mouse and touch reach the divider only while dragging is allowed.
    void setAllowsDragging(bool allows);

    // The ridged thumb in the middle of a grip bar.
    void drawGripThumbInRect(QPainter& painter, const QRectF& rect) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool isVerticalSplit() const;

    QPointer<QuillSplitViewController> m_splitViewController;
    bool m_allowsDragging = false;
    bool m_dragging = false;
    QPointF m_previous;
};
