#include "ui/TableViewCell.h"

#include "ui/AccessoryIndicator.h"
#include "ui/Font.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ui {

namespace {
constexpr int kMargin = 10;
constexpr int kAccessoryWidth = 20;
const char* kTagProperty = "welvaneTag";

// The platform's value-1 detail colour, also the value-label colour.
const QColor kDetailColor(56, 84, 135);
} // namespace

TableViewCell::TableViewCell(CellStyle style, const QString& reuseIdentifier, QWidget* parent)
    : QWidget(parent), m_style(style), m_reuseIdentifier(reuseIdentifier)
{
    setAutoFillBackground(false);
    // Inside the table's viewport widgets would take the Base role and draw
    // their text in the palette's Text colour; cells use WindowText, so that
    // a label's colour is the one its owner set.
    setBackgroundRole(QPalette::Window);
    setAccessibleName(reuseIdentifier);
    m_contentView = new QWidget(this);
    m_textLabel = new QLabel(m_contentView);
    m_textLabel->setFont(Font::boldSystemFont(style == CellStyle::Value1 ? 17 : 20));
    m_textLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (style == CellStyle::Value1) {
        m_detailTextLabel = new QLabel(m_contentView);
        m_detailTextLabel->setFont(Font::systemFont(17));
        m_detailTextLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QPalette pal = m_detailTextLabel->palette();
        pal.setColor(QPalette::WindowText, kDetailColor);
        m_detailTextLabel->setPalette(pal);
        m_detailTextLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

TableViewCell::~TableViewCell() = default;

void TableViewCell::setAccessoryType(AccessoryType type)
{
    if (type == m_accessoryType && (type == AccessoryType::None || m_accessoryIndicator))
        return;
    m_accessoryType = type;
    delete m_accessoryIndicator;
    m_accessoryIndicator = nullptr;
    if (type != AccessoryType::None) {
        m_accessoryIndicator = new AccessoryIndicator(type, this);
        m_accessoryIndicator->setVisible(m_accessoryView == nullptr);
    }
    layoutSubviews();
}

void TableViewCell::setAccessoryView(QWidget* view)
{
    if (view == m_accessoryView)
        return;
    delete m_accessoryView;
    m_accessoryView = view;
    if (view) {
        view->setParent(this);
        view->show();
    }
    if (m_accessoryIndicator)
        m_accessoryIndicator->setVisible(view == nullptr);
    layoutSubviews();
}

void TableViewCell::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    updateLabelColors();
    update();
}

void TableViewCell::updateLabelColors()
{
    // A blue selection shows its labels in white, as the platform does; the
    // labels' own colours come back when it ends.
    const bool white = (m_selected || m_pressed) && m_selectionStyle == SelectionStyle::Blue;
    if (white == m_labelsWhite)
        return;
    m_labelsWhite = white;
    for (QLabel* label : {m_textLabel, m_detailTextLabel}) {
        if (!label)
            continue;
        if (white) {
            m_savedColors[label == m_textLabel ? 0 : 1] =
                label->palette().color(QPalette::WindowText);
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, Qt::white);
            label->setPalette(pal);
        } else {
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, m_savedColors[label == m_textLabel ? 0 : 1]);
            label->setPalette(pal);
        }
    }
}

void TableViewCell::setGroupPosition(GroupPosition position)
{
    if (m_groupPosition == position)
        return;
    m_groupPosition = position;
    update();
}

void TableViewCell::setTag(QWidget* view, int tag)
{
    view->setProperty(kTagProperty, tag);
}

int TableViewCell::tag(const QWidget* view)
{
    return view->property(kTagProperty).toInt();
}

QWidget* TableViewCell::viewWithTag(int tag) const
{
    if (tag == 0)
        return nullptr;
    const auto children = findChildren<QWidget*>();
    for (QWidget* child : children)
        if (TableViewCell::tag(child) == tag)
            return child;
    return nullptr;
}

QRect TableViewCell::accessoryRect() const
{
    const QWidget* acc = m_accessoryView ? m_accessoryView : m_accessoryIndicator;
    if (!acc)
        return {};
    const QSize s =
        m_accessoryView ? m_accessoryView->size() : QSize(kAccessoryWidth, kAccessoryWidth);
    const QSize use = s.isEmpty() ? m_accessoryView->sizeHint() : s;
    return QRect(width() - kMargin - use.width(), (height() - use.height()) / 2, use.width(),
                 use.height());
}

void TableViewCell::layoutSubviews()
{
    const QRect acc = accessoryRect();
    if (m_accessoryView)
        m_accessoryView->setGeometry(acc);
    else if (m_accessoryIndicator)
        m_accessoryIndicator->setGeometry(acc);

    const int contentWidth = acc.isNull() ? width() : acc.x() - 0;
    m_contentView->setGeometry(0, 0, std::max(0, contentWidth), height());

    const int indent = static_cast<int>(m_indentationWidth * m_indentationLevel);
    const int left = kMargin + indent;
    const int right = m_contentView->width() - kMargin;
    const int lineH = m_textLabel->fontMetrics().height() + 2;
    const int y = (height() - lineH) / 2;
    if (m_style == CellStyle::Default || !m_detailTextLabel) {
        m_textLabel->setGeometry(left, y, std::max(0, right - left), lineH);
        return;
    }
    const int textW = std::min(m_textLabel->sizeHint().width(), std::max(0, right - left));
    m_textLabel->setGeometry(left, y, textW, lineH);
    const int detailH = m_detailTextLabel->fontMetrics().height() + 2;
    const int detailLeft = left + textW + kMargin;
    const int detailW =
        std::max(0, std::min(m_detailTextLabel->sizeHint().width(), right - detailLeft));
    m_detailTextLabel->setGeometry(right - detailW, (height() - detailH) / 2, detailW, detailH);
}

void TableViewCell::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutSubviews();
}

void TableViewCell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool highlight = (m_selected || m_pressed) && m_selectionStyle != SelectionStyle::None;
    const QColor fill = !highlight                                 ? QColor(Qt::white)
                        : m_selectionStyle == SelectionStyle::Blue ? QColor(4, 122, 237)
                                                                   : QColor(214, 214, 214);
    const QColor line(171, 171, 171);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_groupPosition == GroupPosition::Plain) {
        p.fillRect(rect(), fill);
        p.setPen(QColor(224, 224, 224));
        p.drawLine(QPointF(0, height() - 0.5), QPointF(width(), height() - 0.5));
        return;
    }
    // Grouped: round the outer corners of the first and last cell.
    const double rad = 8.0;
    const bool roundTop =
        m_groupPosition == GroupPosition::Single || m_groupPosition == GroupPosition::Top;
    const bool roundBottom =
        m_groupPosition == GroupPosition::Single || m_groupPosition == GroupPosition::Bottom;
    QPainterPath path;
    path.moveTo(r.left(), r.top() + (roundTop ? rad : 0));
    if (roundTop) {
        path.arcTo(QRectF(r.left(), r.top(), 2 * rad, 2 * rad), 180, -90);
        path.lineTo(r.right() - rad, r.top());
        path.arcTo(QRectF(r.right() - 2 * rad, r.top(), 2 * rad, 2 * rad), 90, -90);
    } else {
        path.lineTo(r.left(), r.top());
        path.lineTo(r.right(), r.top());
    }
    if (roundBottom) {
        path.lineTo(r.right(), r.bottom() - rad);
        path.arcTo(QRectF(r.right() - 2 * rad, r.bottom() - 2 * rad, 2 * rad, 2 * rad), 0, -90);
        path.lineTo(r.left() + rad, r.bottom());
        path.arcTo(QRectF(r.left(), r.bottom() - 2 * rad, 2 * rad, 2 * rad), 270, -90);
    } else {
        path.lineTo(r.right(), r.bottom());
        path.lineTo(r.left(), r.bottom());
    }
    path.closeSubpath();
    p.fillPath(path, fill);
    p.setPen(line);
    p.drawPath(path);
}

void TableViewCell::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        updateLabelColors();
        update();
    }
}

void TableViewCell::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_pressed)
        return;
    m_pressed = false;
    updateLabelColors();
    update();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT tapped(this);
}

QString TableViewCell::dumpText() const
{
    // The row's label first, then every other visible text or marker of the
    // row from left to right.
    struct Item {
        int line; // texts on one visual line share it
        int x;
        QString text;
    };
    std::vector<Item> items;
    const auto collect = [&](QWidget* w) {
        if (!w || w == m_textLabel || w->isHidden())
            return;
        const QVariant marker = w->property("dumpText");
        const QPoint at = w->mapTo(this, QPoint(0, 0));
        const int x = at.x();
        // Bands of 12 points: a small lamp beside a label stays on its line.
        const int line = (at.y() + w->height() / 2) / 12;
        if (marker.isValid()) {
            items.push_back({line, x, marker.toString()});
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->text().isEmpty())
                items.push_back({line, x, label->text()});
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            items.push_back({line, x, QStringLiteral("[") + button->text() + QStringLiteral("]")});
        }
    };
    const auto all = findChildren<QWidget*>();
    for (QWidget* w : all) {
        // Skip children of a widget that speaks for itself.
        bool covered = false;
        for (QWidget* up = w->parentWidget(); up && up != this; up = up->parentWidget())
            if (up->property("dumpText").isValid() || up->isHidden())
                covered = true;
        if (!covered)
            collect(w);
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.line != b.line ? a.line < b.line : a.x < b.x;
    });
    QString out = m_textLabel->text();
    for (const Item& item : items)
        out += QLatin1Char('\t') + item.text;
    return out;
}

} // namespace ui
