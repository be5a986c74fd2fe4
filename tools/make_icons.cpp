// Draws Welvane's own artwork into resources/icons/ at twice its logical
// size: the page icons (the fallback when the desktop's icon theme has none)
// the large-screen cell marks, arrow and tick, and the About page's link
// icons. Run by hand
// after changing a drawing: build target make_icons, then
//   QT_QPA_PLATFORM=offscreen ./make_icons resources/icons
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {
constexpr int kPx = 52;
const QColor kInk(52, 74, 110);

void save(const QString& dir, const QString& name, const std::function<void(QPainter&)>& draw,
          QSize size = QSize(kPx, kPx))
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    draw(p);
    p.end();
    if (!img.save(dir + QLatin1Char('/') + name))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    save(dir, "monitor.png", [](QPainter& p) {
        p.drawRoundedRect(QRectF(5, 7, 42, 29), 4, 4);
        p.drawLine(QPointF(26, 36), QPointF(26, 44));
        p.drawLine(QPointF(16, 45), QPointF(36, 45));
    });
    save(dir, "clock.png", [](QPainter& p) {
        p.drawEllipse(QPointF(26, 26), 20, 20);
        p.drawLine(QPointF(26, 26), QPointF(26, 13));
        p.drawLine(QPointF(26, 26), QPointF(35, 31));
    });
    save(dir, "database.png", [](QPainter& p) {
        p.drawEllipse(QRectF(9, 5, 34, 11));
        p.drawLine(QPointF(9, 10.5), QPointF(9, 41.5));
        p.drawLine(QPointF(43, 10.5), QPointF(43, 41.5));
        p.drawArc(QRectF(9, 36, 34, 11), 180 * 16, 180 * 16);
        p.drawArc(QRectF(9, 21, 34, 11), 180 * 16, 180 * 16);
    });
    save(dir, "connections.png", [](QPainter& p) {
        p.drawLine(QPointF(8, 18), QPointF(42, 18));
        p.drawPolyline(QPolygonF({QPointF(34, 10), QPointF(42, 18), QPointF(34, 26)}));
        p.drawLine(QPointF(44, 34), QPointF(10, 34));
        p.drawPolyline(QPolygonF({QPointF(18, 26), QPointF(10, 34), QPointF(18, 42)}));
    });
    save(dir, "move.png", [](QPainter& p) {
        p.drawLine(QPointF(26, 6), QPointF(26, 46));
        p.drawLine(QPointF(6, 26), QPointF(46, 26));
        p.drawPolyline(QPolygonF({QPointF(20, 12), QPointF(26, 6), QPointF(32, 12)}));
        p.drawPolyline(QPolygonF({QPointF(20, 40), QPointF(26, 46), QPointF(32, 40)}));
        p.drawPolyline(QPolygonF({QPointF(12, 20), QPointF(6, 26), QPointF(12, 32)}));
        p.drawPolyline(QPolygonF({QPointF(40, 20), QPointF(46, 26), QPointF(40, 32)}));
    });
    save(dir, "graph.png", [](QPainter& p) {
        p.drawPolyline(QPolygonF({QPointF(6, 6), QPointF(6, 46), QPointF(46, 46)}));
        p.drawPolyline(
            QPolygonF({QPointF(10, 38), QPointF(20, 24), QPointF(29, 31), QPointF(44, 12)}));
    });
    save(dir, "photos.png", [](QPainter& p) {
        p.drawRoundedRect(QRectF(6, 14, 30, 30), 3, 3);
        p.drawPolyline(QPolygonF(
            {QPointF(14, 14), QPointF(14, 6), QPointF(46, 6), QPointF(46, 36), QPointF(36, 36)}));
        p.drawLine(QPointF(12, 24), QPointF(30, 24));
        p.drawLine(QPointF(12, 32), QPointF(26, 32));
    });
    save(dir, "preferences.png", [](QPainter& p) {
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            gear.moveTo(26 + 14 * std::cos(a), 26 + 14 * std::sin(a));
            gear.lineTo(26 + 21 * std::cos(a), 26 + 21 * std::sin(a));
        }
        p.drawPath(gear);
        p.drawEllipse(QPointF(26, 26), 14, 14);
        p.drawEllipse(QPointF(26, 26), 5, 5);
    });
    save(dir, "newspaper.png", [](QPainter& p) {
        p.drawRoundedRect(QRectF(8, 5, 36, 42), 3, 3);
        for (int y : {15, 23, 31, 39})
            p.drawLine(QPointF(15, y), QPointF(37, y));
    });
    save(dir, "house.png", [](QPainter& p) {
        p.drawPolyline(QPolygonF({QPointF(5, 26), QPointF(26, 7), QPointF(47, 26)}));
        p.drawPolyline(
            QPolygonF({QPointF(11, 21), QPointF(11, 46), QPointF(41, 46), QPointF(41, 21)}));
        p.drawRect(QRectF(21, 32, 10, 14));
    });
    // The large-screen cell marks: a chevron of 10 x 14 points in the grey of
    // the table's own indicators, a check mark of 20 x 16 points in the blue
    // of the value texts.
    save(
        dir, "arrow.png",
        [](QPainter& p) {
            p.setPen(QPen(QColor(128, 128, 128), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(5, 4), QPointF(15, 14), QPointF(5, 24)}));
        },
        QSize(20, 28));
    save(
        dir, "tick.png",
        [](QPainter& p) {
            p.setPen(QPen(QColor(56, 84, 135), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(5, 17), QPointF(15, 27), QPointF(35, 5)}));
        },
        QSize(40, 32));
    // The About page's link icons, 26 points high: a social page (a white
    // "f" on blue), a video (a play mark on red) and a review (an amber star).
    save(
        dir, "facebook.png",
        [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(59, 89, 152));
            p.drawRoundedRect(QRectF(2, 2, 48, 48), 9, 9);
            p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            QPainterPath f;
            f.moveTo(29, 50);
            f.lineTo(29, 20);
            f.cubicTo(29, 13, 33, 10, 40, 10);
            p.drawPath(f);
            p.drawLine(QPointF(20, 27), QPointF(39, 27));
        },
        QSize(52, 52));
    save(
        dir, "youtube.png",
        [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(204, 24, 30));
            p.drawRoundedRect(QRectF(2, 6, 68, 40), 12, 12);
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(29, 16), QPointF(29, 36), QPointF(46, 26)}));
        },
        QSize(72, 52));
    save(
        dir, "star.png",
        [](QPainter& p) {
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double r = i % 2 ? 10.0 : 24.0;
                const double a = -M_PI / 2 + i * M_PI / 5;
                star << QPointF(26 + r * std::cos(a), 28 + r * std::sin(a));
            }
            p.setPen(QPen(QColor(168, 118, 8), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(QColor(209, 148, 12));
            p.drawPolygon(star);
        },
        QSize(52, 52));
    return 0;
}
