#pragma once

#include <QLabel>
#include <QString>

// An image of the application's artwork placed at a fixed point of a grouped
// table cell, at the image's own size. Positions are given as the handheld
// platform measured them, from the left edge of the whole table row; our
// grouped cells start at the group's inset, so they are moved left by it.
class CellImageView : public QLabel {
    Q_OBJECT
public:
    // name is a file under ":/icons/" (drawn at twice its logical size); a
    // missing image gives an empty view of size 0.
    CellImageView(const QString& name, int x, int y, QWidget* parent = nullptr);

    QString imageName() const { return m_name; }

    // A row-relative x as a cell-relative one for the present screen class.
    static int cellX(int rowX);

private:
    QString m_name;
};
