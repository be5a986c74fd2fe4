#include "screens/memory/MemoryGraphCell.h"

#include "drawing/BarChartView.h"
#include "drawing/CellIdentifiers.h"
#include "drawing/Palette.h"
#include "drawing/ValueLabel.h"
#include "ui/Device.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace {

const char* const kLegendText[MemoryFormat::kKinds] = {"Wired", "Active", "Inactive", "Other",
                                                       "Free"};

const QColor& kindColor(MemoryFormat::Kind kind)
{
    static const QColor* const colors[MemoryFormat::kKinds] = {
        &palette::kRed, &palette::kAmber, &palette::kGreen, &palette::kSlate, &palette::kLightGrey};
    return *colors[kind];
}

QRect frame(bool pad, const QRect& large, const QRect& small)
{
    return pad ? large : small;
}

QLabel* label(QWidget* parent, const QRect& frame, const QFont& font)
{
    auto* l = new QLabel(parent);
    l->setGeometry(frame);
    l->setFont(font);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

} // namespace

MemoryGraphCell::MemoryGraphCell()
    : CustomCell(ui::CellStyle::Default, QString::fromLatin1(cellid::kMemoryCellMemoryGraph))
{
    const bool pad = ui::Device::isPad();
    m_bar = new BarChartView(frame(pad, {20, 20, 636, 20}, {10, 10, 280, 20}), 5.0f, contentView());
    setTag(m_bar, kBarTag);
    const int first = pad ? 50 : 35;
    const int gap = pad ? 30 : 25;
    for (int k = 0; k < MemoryFormat::kKinds; ++k)
        legendLine(static_cast<MemoryFormat::Kind>(k), first + k * gap);
    setSelectionStyle(ui::SelectionStyle::None);
}

void MemoryGraphCell::legendLine(MemoryFormat::Kind kind, int y)
{
    const bool pad = ui::Device::isPad();
    QWidget* content = contentView();
    QFont font = textLabel()->font();
    font.setPixelSize(ValueLabel::rowFontSize());

    const int side = pad ? 12 : 10;
    auto* swatch = new BarChartView(QRect(pad ? 20 : 10, y + 10, side, side), 3.0f, content);
    swatch->addItemValue(1.0f, kindColor(kind));
    swatch->drawImage();
    label(content, frame(pad, {40, y, 80, 30}, {25, y, 80, 30}), font)
        ->setText(QString::fromLatin1(kLegendText[kind]));

    // The value keeps its right edge but may grow left up to the kind's
    // text: a machine of many GiB shows "19181.4 MB", wider than the frame
    // sized for a handheld's few hundred.
    const int textEnd = pad ? 120 : 105;
    const int valueEnd = pad ? 540 : 215;
    const QRect frames[2] = {QRect(textEnd, y, valueEnd - textEnd, 30),
                             frame(pad, {572, y, 85, 30}, {215, y, 75, 30})};
    const int tags[2] = {kValueTag[kind], kShareTag[kind]};
    for (int i = 0; i < 2; ++i) {
        QLabel* value = label(content, frames[i], font);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QPalette colors = value->palette();
        colors.setColor(QPalette::WindowText, palette::kValueText);
        value->setPalette(colors);
        setTag(value, tags[i]);
        (i == 0 ? m_values : m_shares)[kind] = value;
    }
}

void MemoryGraphCell::setFigures(const MemoryFormat::Figures& f, bool drawBar)
{
    for (int k = 0; k < MemoryFormat::kKinds; ++k) {
        const auto kind = static_cast<MemoryFormat::Kind>(k);
        const QString value = MemoryFormat::megabytesText(f.value[k]);
        const QString share = MemoryFormat::shareText(f.share(kind));
        if (m_values[k]->text() != value)
            m_values[k]->setText(value);
        if (m_shares[k]->text() != share)
            m_shares[k]->setText(share);
    }
    if (!drawBar)
        return;
    // Most ticks move the figures by a few pages, which moves no edge of the
    // bar by a visible amount: the key is the segments' edges in quarter
    // pixels, and an equal key keeps the picture.
    double sum = 0;
    for (float v : f.value)
        sum += std::max(0.0f, v);
    QByteArray key;
    double edge = 0;
    for (float v : f.value) {
        edge += std::max(0.0f, v);
        const auto quarter =
            static_cast<qint32>(sum > 0 ? std::lround(edge / sum * m_bar->width() * 4.0) : 0);
        key.append(reinterpret_cast<const char*>(&quarter), sizeof quarter);
    }
    if (!m_bar->image().isNull() && key == m_drawn)
        return;
    m_drawn = key;
    m_bar->clearItems();
    for (int k = 0; k < MemoryFormat::kKinds; ++k)
        m_bar->addItemValue(f.value[k], kindColor(static_cast<MemoryFormat::Kind>(k)));
    m_bar->drawImage();
    m_bar->update();
}
