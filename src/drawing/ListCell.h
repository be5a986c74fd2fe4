#pragma once

#include "ui/TableViewCell.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <vector>

class QPainter;

// The shared part of the process, route and connection cells: texts held as
// plain strings and drawn at fixed points by one opaque view, which is one
// point shorter than the row so the separator under it stays visible. A
// text change repaints the row; nothing is measured or laid out.
class ListCell : public ui::TableViewCell {
    Q_OBJECT
public:
    explicit ListCell(const QString& reuseIdentifier, QWidget* parent = nullptr);

    QWidget* drawingView() const { return m_view; }

    // Paints the row into rect: white, or nothing under a selected row so
    // the selection shows, then every text of the current layout.
    void drawContentView(QPainter& painter, const QRectF& rect) const;

    // The drawn texts from left to right, line by line; lamps as "[green]".
    QString dumpText() const override;

    // The lamp images, 10 by 10 points, made once by the chart renderer.
    enum Lamp { RedLamp = 0, GreenLamp = 1, AmberLamp = 2, NoLamp = -1 };
    static const QImage& lampImage(Lamp lamp);

protected:
    enum class Style { Label, Value, BoldValue };
    struct Item {
        double x = 0;
        double y = 0;
        QString text;
        Style style = Style::Label;
        Lamp lamp = NoLamp; // a lamp instead of a text
    };
    // The texts of this row in drawing order, for the large or small layout.
    virtual std::vector<Item> items(bool large) const = 0;

    // Stores a text and repaints when it changed.
    void assign(QString& field, const QString& value);

    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_view;
};
