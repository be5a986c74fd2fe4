#include "screens/CellImageView.h"

#include "ui/Device.h"

#include <QPixmap>

namespace {
// Left inset of a grouped section in the view kit: narrow tables (the small
// screens) 10, wide ones 45.
constexpr int kInsetSmall = 10;
constexpr int kInsetLarge = 45;
constexpr double kArtworkScale = 2.0;
} // namespace

CellImageView::CellImageView(const QString& name, int x, int y, QWidget* parent)
    : QLabel(parent), m_name(name)
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
    setGeometry(cellX(x), y, size.width(), size.height());
}

int CellImageView::cellX(int rowX)
{
    return rowX - (ui::Device::isPad() ? kInsetLarge : kInsetSmall);
}
