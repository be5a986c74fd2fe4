#pragma once

#include <QWidget>

// The one drawing view of a list cell: it asks the cell to paint the whole
// row, labels and values, in one pass, instead of one label per text.
class ListCellView : public QWidget {
    Q_OBJECT
public:
    explicit ListCellView(QWidget* cell);

protected:
    void paintEvent(QPaintEvent* event) override;
};
