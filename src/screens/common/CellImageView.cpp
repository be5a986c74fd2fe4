#include "screens/common/CellImageView.h"

#include <QPixmap>

namespace {
constexpr double kArtworkScale = 2.0;
} // namespace

CellImageView::CellImageView(const QString& name, QWidget* parent) : QLabel(parent), m_name(name)
{
    setAccessibleName(name);
    // In a text dump the tick reads as a mark and the arrow as a disclosure.
    if (name == QLatin1String("tick.png"))
        setProperty("dumpText", QStringLiteral("[check]"));
    else if (name == QLatin1String("arrow.png"))
        setProperty("dumpText", QStringLiteral(">"));
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
