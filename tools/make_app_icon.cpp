// Draws Welvane's application icon: a pulse line on a blue rounded square.
// Writes the scalable SVG and the PNG sizes of the hicolor theme from the
// same numbers, so they cannot drift apart. Run by hand after a change:
// build target make_app_icon, then
//   QT_QPA_PLATFORM=offscreen ./make_app_icon resources/icons/app
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {
// In a 256-unit box.
constexpr double kInset = 16, kRadius = 48, kStroke = 18;
const QColor kTop(0x3a, 0x5f, 0x96), kBottom(0x1f, 0x33, 0x55);
const QPointF kPulse[] = {{44, 148}, {92, 148}, {112, 84}, {142, 196}, {166, 116}, {182, 148},
                          {212, 148}};

QString svg()
{
    QString points;
    for (const QPointF& p : kPulse)
        points += QStringLiteral("%1,%2 ").arg(p.x()).arg(p.y());
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n"
               "  <defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
               "<stop offset=\"0\" stop-color=\"%1\"/><stop offset=\"1\" stop-color=\"%2\"/>"
               "</linearGradient></defs>\n"
               "  <rect x=\"%3\" y=\"%3\" width=\"%4\" height=\"%4\" rx=\"%5\" fill=\"url(#g)\"/>\n"
               "  <polyline points=\"%6\" fill=\"none\" stroke=\"#ffffff\" stroke-width=\"%7\" "
               "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n"
               "</svg>\n")
        .arg(kTop.name(), kBottom.name())
        .arg(kInset)
        .arg(256 - 2 * kInset)
        .arg(kRadius)
        .arg(points.trimmed())
        .arg(kStroke);
}

QImage png(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    QLinearGradient fill(0, kInset, 0, 256 - kInset);
    fill.setColorAt(0, kTop);
    fill.setColorAt(1, kBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(kInset, kInset, 256 - 2 * kInset, 256 - 2 * kInset), kRadius, kRadius);
    p.setPen(QPen(Qt::white, kStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(kPulse, int(std::size(kPulse)));
    return img;
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_app_icon DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QFile out(dir + QStringLiteral("/welvane.svg"));
    if (!out.open(QIODevice::WriteOnly) || out.write(svg().toUtf8()) < 0)
        return 1;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        if (!png(size).save(dir + QStringLiteral("/welvane-%1.png").arg(size)))
            return 1;
    return 0;
}
