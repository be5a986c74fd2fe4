#pragma once

#include <QImage>
#include <QWidget>

// Shows a chart of the shared renderer's items. It renders only when told
// (drawImage) and paints by copying that image, so a repaint never pays for
// the gloss.
class BarChartView : public QWidget {
    Q_OBJECT
public:
    // Clears the shared renderer's items: every chart starts empty.
    BarChartView(const QRect& frame, float cornerRadius, QWidget* parent = nullptr);

    void addItemValue(float value, const QColor& color);
    void clearItems();
    // Renders the current items at the view's size and keeps the image.
    // Does not ask for a repaint.
    void drawImage();

    float cornerRadius() const { return m_radius; }
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float m_radius;
    QImage m_image;
};
