#include "drawing/ListCell.h"

#include "drawing/BarChart.h"
#include "drawing/ListCellView.h"
#include "drawing/Palette.h"
#include "ui/Device.h"
#include "ui/Font.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {

struct Fonts {
    QFont bold;
    QFont regular;
    double boldAscent;
    double regularAscent;
};

// Made once per layout and shared by every cell.
const Fonts& fontsFor(bool large)
{
    static const std::array<Fonts, 2> fonts = [] {
        std::array<Fonts, 2> f;
        for (int i = 0; i < 2; ++i) {
            const bool big = i == 1;
            f[i].bold = ui::Font::boldSystemFont(big ? 18 : 14);
            f[i].regular = ui::Font::systemFont(big ? 13 : 11);
            f[i].boldAscent = QFontMetricsF(f[i].bold).ascent();
            f[i].regularAscent = QFontMetricsF(f[i].regular).ascent();
        }
        return f;
    }();
    return fonts[large ? 1 : 0];
}

const char* lampMarker(ListCell::Lamp lamp)
{
    switch (lamp) {
    case ListCell::RedLamp:
        return "[red]";
    case ListCell::GreenLamp:
        return "[green]";
    case ListCell::AmberLamp:
        return "[amber]";
    default:
        return "";
    }
}

constexpr double kLampSide = 10.0;

} // namespace

ListCell::ListCell(const QString& reuseIdentifier, QWidget* parent)
    : ui::TableViewCell(ui::CellStyle::Default, reuseIdentifier, parent),
      m_view(new ListCellView(this))
{
    setSelectionStyle(ui::SelectionStyle::None);
}

const QImage& ListCell::lampImage(Lamp lamp)
{
    static const std::array<QImage, 3> lamps = [] {
        std::array<QImage, 3> images;
        const QColor colors[3] = {palette::kRed, palette::kGreen, palette::kAmber};
        BarChart& chart = BarChart::instance();
        for (int i = 0; i < 3; ++i) {
            chart.clearItems();
            chart.addItemValue(1.0f, colors[i]);
            images[i] = chart.drawChartInRect(QRectF(0, 0, kLampSide, kLampSide), 5.0f);
        }
        chart.clearItems();
        return images;
    }();
    static const QImage none;
    return lamp >= RedLamp && lamp <= AmberLamp ? lamps[lamp] : none;
}

void ListCell::assign(QString& field, const QString& value)
{
    if (field == value)
        return;
    field = value;
    m_view->update();
}

void ListCell::resizeEvent(QResizeEvent* event)
{
    ui::TableViewCell::resizeEvent(event);
    m_view->setGeometry(0, 0, width(), std::max(0, height() - 1));
}

void ListCell::drawContentView(QPainter& painter, const QRectF& rect) const
{
    if (!isSelected())
        painter.fillRect(rect, Qt::white);
    const bool large = ui::Device::isPad();
    const Fonts& fonts = fontsFor(large);
    const QColor label(0, 0, 0);
    for (const Item& item : items(large)) {
        if (item.lamp != NoLamp) {
            painter.drawImage(QRectF(item.x, item.y, kLampSide, kLampSide), lampImage(item.lamp));
            continue;
        }
        const bool bold = item.style == Style::BoldValue;
        painter.setFont(bold ? fonts.bold : fonts.regular);
        painter.setPen(item.style == Style::Label ? label : palette::kValueText);
        // The point is the text's top-left corner, not its baseline.
        painter.drawText(QPointF(item.x, item.y + (bold ? fonts.boldAscent : fonts.regularAscent)),
                         item.text);
    }
}

QString ListCell::dumpText() const
{
    std::vector<Item> all = items(ui::Device::isPad());
    // Lines 20 points apart: texts a few points higher or lower share one.
    std::stable_sort(all.begin(), all.end(), [](const Item& a, const Item& b) {
        const int la = static_cast<int>(a.y) / 20, lb = static_cast<int>(b.y) / 20;
        return la != lb ? la < lb : a.x < b.x;
    });
    QStringList parts;
    for (const Item& item : all)
        parts << (item.lamp != NoLamp ? QString::fromLatin1(lampMarker(item.lamp)) : item.text);
    return parts.join(QLatin1Char('\t'));
}
