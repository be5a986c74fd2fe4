#pragma once

#include <QImage>
#include <QWidget>

// A small glossy yes/no lamp. The three lamp images are made once, at the
// size and corner radius of the first lamp ever created, and shared by all
// lamps; later lamps of another size show them scaled.
class OnOffView : public QWidget {
    Q_OBJECT
public:
    enum Lamp { Red = 0, Green = 1, Amber = 2 };

    // Starts red, like an unset lamp.
    OnOffView(const QRect& frame, float cornerRadius, QWidget* parent = nullptr);

    int color() const { return m_color; }
    // Any index other than Red, Green or Amber shows nothing.
    void setColor(int index);

    // The shared image of a lamp index, or a null image.
    static QImage lampImage(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_color = Red;
};
