#include "ui/TableView.h"

#include "ui/Font.h"
#include "ui/TableKeyboard.h"
#include "ui/TableViewCell.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QScroller>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
constexpr double kDragThreshold = 6.0;
const QColor kGroupedBackground(214, 218, 225);
const QColor kHeaderText(76, 86, 108);
} // namespace

TableView::TableView(TableViewStyle style, QWidget* parent)
    : QAbstractScrollArea(parent), m_style(style)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(20);
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window,
                 style == TableViewStyle::Grouped ? kGroupedBackground : Qt::white);
    viewport()->setPalette(pal);
    setAccessibleName(QStringLiteral("table"));

    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { beginDrag(); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] { endDrag(false); });

    // The rows keep the full width, as the screens' frames expect: the
    // scroll bar floats over the right edge instead of taking room.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_indicator = new QScrollBar(Qt::Vertical, this);
    m_indicator->setAccessibleName(QStringLiteral("scroll indicator"));
    m_indicator->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 7px; margin: 2px 1px 2px 0; }"
        "QScrollBar::handle:vertical { background: rgba(0,0,0,90); border-radius: 3px; min-height: "
        "24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }"));
    m_indicator->hide();
    QScrollBar* inner = verticalScrollBar();
    connect(inner, &QScrollBar::rangeChanged, this, [this](int min, int max) {
        m_indicator->setRange(min, max);
        m_indicator->setPageStep(verticalScrollBar()->pageStep());
        m_indicator->setVisible(max > min);
    });
    connect(inner, &QScrollBar::valueChanged, m_indicator, &QScrollBar::setValue);
    connect(m_indicator, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    connect(m_indicator, &QScrollBar::sliderPressed, this, [this] { beginDrag(); });
    connect(m_indicator, &QScrollBar::sliderReleased, this, [this] { endDrag(false); });

    // Touch screens drag the list with a finger, with kinetic scrolling.
    QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    connect(QScroller::scroller(viewport()), &QScroller::stateChanged, this,
            [this](QScroller::State state) {
                if (state == QScroller::Dragging)
                    beginDrag();
                else if (state == QScroller::Scrolling && m_dragging)
                    endDrag(true);
                else if (state == QScroller::Inactive) {
                    if (m_dragging)
                        endDrag(false);
                    else if (m_delegate)
                        m_delegate->scrollViewDidEndDecelerating(this);
                }
            });
}

TableView::~TableView()
{
    // Our cells die with the viewport after this body has run: stop their
    // destroyed() handlers from touching our members by then.
    for (TableViewCell* cell : m_known)
        disconnect(cell, nullptr, this, nullptr);
    m_known.clear();
}

void TableView::setRowHeight(double height)
{
    m_rowHeight = height;
}

int TableView::numberOfRowsInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return m_layout.sections()[section].rows();
}

double TableView::insetX() const
{
    return TableLayout::insetX(m_style, viewport()->width());
}

void TableView::rebuildModel()
{
    m_layout.rebuild(this, m_dataSource, m_delegate, m_style, m_rowHeight, viewport()->width());
    const int page = viewport()->height();
    verticalScrollBar()->setPageStep(std::max(1, page));
    verticalScrollBar()->setRange(
        0, std::max(0, static_cast<int>(std::ceil(m_layout.contentHeight())) - page));
}

QRectF TableView::rectForRowAtIndexPath(IndexPath ip) const
{
    return m_layout.rowRect(ip);
}

int TableView::contentOffset() const
{
    return verticalScrollBar()->value();
}

void TableView::setContentOffset(int y)
{
    verticalScrollBar()->setValue(y);
    layoutCells();
}

void TableView::reloadData()
{
    // Reloading must not take the keyboard from a control in a row (a
    // slider that saves on every arrow key reloads the table each step).
    QPointer<QWidget> focused = QApplication::focusWidget();
    if (focused && !viewport()->isAncestorOf(focused))
        focused = nullptr;
    for (auto& [ip, cell] : m_visible)
        recycle(cell);
    m_visible.clear();
    rebuildModel();
    if (m_selected && (m_selected->section >= numberOfSections() ||
                       m_selected->row >= numberOfRowsInSection(m_selected->section)))
        m_selected.reset();
    layoutCells();
    viewport()->update();
    if (focused)
        (focused->isVisible() ? focused.data() : static_cast<QWidget*>(this))
            ->setFocus(Qt::OtherFocusReason);
}

void TableView::keyPressEvent(QKeyEvent* event)
{
    if (!m_keyboardSelectsRows)
        return QAbstractScrollArea::keyPressEvent(event);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_selected) {
        tapRowAtIndexPath(*m_selected);
        return;
    }
    std::vector<int> rows;
    for (int s = 0; s < numberOfSections(); ++s)
        rows.push_back(numberOfRowsInSection(s));
    if (const auto to = TableKeyboard::target(event->key(), m_selected, rows)) {
        selectRowAtIndexPath(*to, false, ScrollPosition::None);
        scrollToRowAtIndexPath(*to, ScrollPosition::None, false);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

TableViewCell* TableView::dequeueReusableCell(const QString& identifier)
{
    auto it = m_pool.find(identifier);
    if (it == m_pool.end() || it->isEmpty())
        return nullptr;
    TableViewCell* cell = it->takeLast();
    cell->setSelected(false);
    cell->prepareForReuse();
    return cell;
}

void TableView::adopt(TableViewCell* cell)
{
    if (m_known.insert(cell).second) {
        cell->installEventFilter(this);
        cell->contentView()->installEventFilter(this);
        connect(cell, &TableViewCell::tapped, this, &TableView::onCellTapped);
        connect(cell, &QObject::destroyed, this, [this, cell] {
            m_known.erase(cell);
            for (auto& list : m_pool)
                list.removeAll(cell);
            for (auto it = m_visible.begin(); it != m_visible.end();)
                it = it->second == cell ? m_visible.erase(it) : std::next(it);
        });
    }
    if (cell->parentWidget() != viewport())
        cell->setParent(viewport());
}

void TableView::recycle(TableViewCell* cell)
{
    cell->hide();
    QList<TableViewCell*>& list = m_pool[cell->reuseIdentifier()];
    if (!list.contains(cell))
        list.append(cell);
}

void TableView::layoutCells()
{
    if (m_inLayout || !m_dataSource)
        return;
    m_inLayout = true;
    const double top = contentOffset();
    const double bottom = top + viewport()->height();

    // Rows now on screen.
    const std::vector<IndexPath> wanted = m_layout.rowsBetween(top, bottom);

    // Give back cells whose rows left the screen before asking for new ones,
    // so the data source can reuse them at once.
    for (auto it = m_visible.begin(); it != m_visible.end();) {
        if (!std::binary_search(wanted.begin(), wanted.end(), it->first)) {
            recycle(it->second);
            it = m_visible.erase(it);
        } else {
            ++it;
        }
    }
    for (const IndexPath& ip : wanted) {
        TableViewCell* cell = nullptr;
        auto found = m_visible.find(ip);
        const bool fresh = found == m_visible.end();
        if (!fresh) {
            cell = found->second;
        } else {
            cell = m_dataSource->cellForRowAtIndexPath(this, ip);
            if (!cell)
                continue;
            adopt(cell);
            m_visible[ip] = cell;
            // A data source may hand back a pooled cell without dequeuing it.
            m_pool[cell->reuseIdentifier()].removeAll(cell);
            cell->setSelected(m_selected && *m_selected == ip);
        }
        const TableLayout::Section& sec = m_layout.sections()[ip.section];
        if (m_style == TableViewStyle::Grouped) {
            const int n = sec.rows();
            cell->setGroupPosition(n == 1            ? GroupPosition::Single
                                   : ip.row == 0     ? GroupPosition::Top
                                   : ip.row == n - 1 ? GroupPosition::Bottom
                                                     : GroupPosition::Middle);
        }
        const QRectF r = rectForRowAtIndexPath(ip);
        const QRect geom(
            static_cast<int>(std::lround(r.x())), static_cast<int>(std::lround(r.y() - top)),
            static_cast<int>(std::lround(r.width())), static_cast<int>(std::lround(r.height())));
        // A cell just handed out carries a new row's texts: lay it out even
        // when it only moves (a move alone sends no resize).
        const bool resized = cell->size() != geom.size();
        if (cell->geometry() != geom)
            cell->setGeometry(geom);
        if (fresh && !resized)
            cell->layoutSubviews();
        cell->show();
    }
    m_inLayout = false;
}

TableViewCell* TableView::cellForRowAtIndexPath(IndexPath indexPath) const
{
    auto it = m_visible.find(indexPath);
    return it == m_visible.end() ? nullptr : it->second;
}

QList<TableViewCell*> TableView::visibleCells() const
{
    QList<TableViewCell*> cells;
    for (const auto& [ip, cell] : m_visible)
        cells.append(cell);
    return cells;
}

void TableView::selectRowAtIndexPath(std::optional<IndexPath> indexPath, bool,
                                     ScrollPosition position)
{
    if (m_selected)
        if (TableViewCell* old = cellForRowAtIndexPath(*m_selected))
            old->setSelected(false);
    m_selected = indexPath;
    if (!indexPath)
        return;
    if (position != ScrollPosition::None)
        scrollToRowAtIndexPath(*indexPath, position, false);
    if (TableViewCell* cell = cellForRowAtIndexPath(*indexPath))
        cell->setSelected(true);
}

void TableView::deselectRowAtIndexPath(IndexPath indexPath, bool)
{
    if (m_selected && *m_selected == indexPath)
        selectRowAtIndexPath(std::nullopt, false, ScrollPosition::None);
}

void TableView::tapRowAtIndexPath(IndexPath indexPath)
{
    std::optional<IndexPath> target = indexPath;
    if (m_delegate)
        target = m_delegate->willSelectRowAtIndexPath(this, indexPath);
    if (!target)
        return;
    selectRowAtIndexPath(*target, false, ScrollPosition::None);
    if (m_delegate)
        m_delegate->didSelectRowAtIndexPath(this, *target);
}

void TableView::onCellTapped(TableViewCell* cell)
{
    for (const auto& [ip, c] : m_visible)
        if (c == cell) {
            tapRowAtIndexPath(ip);
            return;
        }
}

void TableView::scrollToRowAtIndexPath(IndexPath indexPath, ScrollPosition position, bool)
{
    const QRectF r = rectForRowAtIndexPath(indexPath);
    if (r.isNull())
        return;
    const double h = viewport()->height();
    double y = contentOffset();
    switch (position) {
    case ScrollPosition::Top:
        y = r.top();
        break;
    case ScrollPosition::Middle:
        y = r.center().y() - h / 2;
        break;
    case ScrollPosition::Bottom:
        y = r.bottom() - h;
        break;
    case ScrollPosition::None:
        if (r.top() < y)
            y = r.top();
        else if (r.bottom() > y + h)
            y = r.bottom() - h;
        break;
    }
    setContentOffset(static_cast<int>(std::lround(y)));
}

void TableView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_indicator->setGeometry(width() - 8, 0, 8, height());
    m_indicator->raise();
    rebuildModel(); // header and footer heights follow the width
    layoutCells();
}

void TableView::scrollContentsBy(int, int)
{
    layoutCells();
    viewport()->update();
}

void TableView::beginDrag()
{
    if (m_dragging)
        return;
    m_dragging = true;
    if (m_delegate)
        m_delegate->scrollViewWillBeginDragging(this);
}

void TableView::endDrag(bool willDecelerate)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (m_delegate)
        m_delegate->scrollViewDidEndDragging(this, willDecelerate);
}

bool TableView::handlePointer(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        m_pointerDown = true;
        m_pressPos = me->globalPosition();
        m_pressOffset = contentOffset();
        m_pressCell = qobject_cast<TableViewCell*>(watched);
        if (!m_pressCell && watched->parent())
            m_pressCell = qobject_cast<TableViewCell*>(watched->parent());
        return false;
    }
    case QEvent::MouseMove: {
        if (!m_pointerDown)
            return false;
        auto* me = static_cast<QMouseEvent*>(event);
        const double dy = me->globalPosition().y() - m_pressPos.y();
        if (!m_dragging && std::abs(dy) >= kDragThreshold) {
            beginDrag();
            if (m_pressCell)
                m_pressCell->setAttribute(Qt::WA_UnderMouse, false);
        }
        if (m_dragging) {
            verticalScrollBar()->setValue(m_pressOffset - static_cast<int>(dy));
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease: {
        if (!m_pointerDown)
            return false;
        m_pointerDown = false;
        if (m_dragging) {
            endDrag(false);
            if (m_pressCell) {
                // The press became a drag: cancel the cell's tap.
                QMouseEvent cancel(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(-1, -1),
                                   Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(m_pressCell, &cancel);
            }
            m_pressCell = nullptr;
            return true;
        }
        m_pressCell = nullptr;
        return false;
    }
    default:
        return false;
    }
}

bool TableView::eventFilter(QObject* watched, QEvent* event)
{
    if (handlePointer(watched, event))
        return true;
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool TableView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        paintViewport(static_cast<QPaintEvent*>(event));
        return true;
    }
    if (handlePointer(viewport(), event))
        return true;
    return QAbstractScrollArea::viewportEvent(event);
}

void TableView::paintViewport(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(),
               m_style == TableViewStyle::Grouped ? kGroupedBackground : QColor(Qt::white));
    const double top = contentOffset();
    const double bottom = top + viewport()->height();
    const double inset = insetX();
    const double w = viewport()->width();
    for (const TableLayout::Section& sec : m_layout.sections()) {
        if (sec.bottom() < top || sec.top > bottom)
            continue;
        if (!sec.headerTitle.isEmpty()) {
            const QRectF hr(0, sec.top - top, w, sec.header);
            if (m_style == TableViewStyle::Plain) {
                QLinearGradient g(hr.topLeft(), hr.bottomLeft());
                g.setColorAt(0, QColor(144, 159, 170));
                g.setColorAt(1, QColor(184, 193, 200));
                p.fillRect(hr, g);
                p.setPen(Qt::white);
                p.setFont(Font::boldSystemFont(18));
                p.drawText(hr.adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignLeft,
                           sec.headerTitle);
            } else {
                p.setPen(kHeaderText);
                p.setFont(Font::boldSystemFont(17));
                p.drawText(hr.adjusted(inset + 10, 0, -inset - 10, -7),
                           Qt::AlignBottom | Qt::AlignLeft, sec.headerTitle);
            }
        }
        if (!sec.footerTitle.isEmpty()) {
            const QRectF fr(inset + 10, sec.rowsTop() + sec.rowTops.back() - top + 8,
                            w - 2 * inset - 20, sec.footer - 10);
            p.setPen(kHeaderText);
            p.setFont(Font::systemFont(15));
            p.drawText(fr, Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap, sec.footerTitle);
        }
    }
}

QString TableView::dumpText()
{
    if (m_layout.sections().empty())
        rebuildModel();
    QString out;
    for (int s = 0; s < numberOfSections(); ++s) {
        const TableLayout::Section& sec = m_layout.sections()[s];
        if (s > 0)
            out += QLatin1Char('\n');
        if (!sec.headerTitle.isEmpty())
            out += QStringLiteral("== ") + sec.headerTitle + QLatin1Char('\n');
        for (int r = 0; r < sec.rows(); ++r) {
            TableViewCell* cell = cellForRowAtIndexPath({s, r});
            const bool borrowed = cell == nullptr;
            if (borrowed) {
                cell = m_dataSource->cellForRowAtIndexPath(this, {s, r});
                if (!cell) {
                    out += QLatin1Char('\n');
                    continue;
                }
                adopt(cell);
                const QRectF rr = rectForRowAtIndexPath({s, r});
                cell->setGeometry(0, 0, static_cast<int>(rr.width()),
                                  static_cast<int>(rr.height()));
                cell->layoutSubviews();
            }
            out += cell->dumpText() + QLatin1Char('\n');
            if (borrowed)
                recycle(cell);
        }
        if (!sec.footerTitle.isEmpty())
            out += QStringLiteral("-- ") + sec.footerTitle + QLatin1Char('\n');
    }
    return out;
}

} // namespace ui
