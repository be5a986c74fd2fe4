#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

class QuillSplitViewController;

enum QuillCornersPosition : int {
    QuillCornersTop = 0,
    QuillCornersBottom = 1,
    QuillCornersLeft = 2,
    QuillCornersRight = 3,
};

// Sits across the divider at one edge of the split view and paints, on each
// side of it, the square-minus-quarter-disc that makes the pane's corner
// look rounded. Clicks pass through.
class QuillSplitCornersView : public QWidget {
    Q_OBJECT
public:
    // Which margins stretch when the container resizes, as the layout sets
    // them (the split view lays out again on every resize anyway).
    enum ResizingMask : int {
        FlexibleLeftMargin = 1,
        FlexibleRightMargin = 4,
        FlexibleTopMargin = 8,
        FlexibleBottomMargin = 32,
    };

    explicit QuillSplitCornersView(QWidget* parent = nullptr);

    float cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(float radius);
    QuillSplitViewController* splitViewController() const { return m_splitViewController; }
    void setSplitViewController(QuillSplitViewController* controller);
    int cornersPosition() const { return m_cornersPosition; }
    void setCornersPosition(int position);
    QColor cornerBackgroundColor() const { return m_cornerBackgroundColor; }
    void setCornerBackgroundColor(const QColor& color);
    int autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(int mask) { m_autoresizingMask = mask; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float m_cornerRadius = 0.0f;
    QPointer<QuillSplitViewController> m_splitViewController;
    int m_cornersPosition = QuillCornersTop;
    QColor m_cornerBackgroundColor;
    int m_autoresizingMask = 0;
};
