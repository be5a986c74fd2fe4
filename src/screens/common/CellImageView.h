#pragma once

#include <QLabel>
#include <QString>

// An image of the application's artwork at the image's own size, as the large
// screens' cells carry it for their arrow and tick.
class CellImageView : public QLabel {
    Q_OBJECT
public:
    // name is a file under ":/icons/" (drawn at twice its logical size); a
    // missing image gives an empty view of size 0.
    explicit CellImageView(const QString& name, QWidget* parent = nullptr);

    QString imageName() const { return m_name; }

private:
    QString m_name;
};
