#include "screens/CellImageView.h"

#include <QPixmap>

namespace {
constexpr double kArtworkScale = 2.0;
} // namespace

CellImageView::CellImageView(const QString& name, QWidget* parent) : QLabel(parent), m_name(name)
{
    setAccessibleName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QPixmap image(QStringLiteral(":/icons/") + name);
    QSize size(0, 0);
    if (!image.isNull()) {
        image.setDevicePixelRatio(kArtworkScale);
        size = (QSizeF(image.size()) / kArtworkScale).toSize();
        setPixmap(image);
    }
    resize(size);
}
