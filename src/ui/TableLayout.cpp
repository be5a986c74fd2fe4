#include "ui/TableLayout.h"

#include "ui/Font.h"
#include "ui/TableView.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

#include <QFontMetrics>

#include <algorithm>

namespace ui {

double TableLayout::insetX(TableViewStyle style, double width)
{
    if (style == TableViewStyle::Plain)
        return 0;
    return width <= 400 ? 10.0 : 45.0;
}

double TableLayout::headerHeight(const QString& title, bool first) const
{
    if (m_style == TableViewStyle::Plain)
        return title.isEmpty() ? 0.0 : 23.0;
    if (title.isEmpty())
        return first ? 10.0 : 0.0;
    return 36.0 + (first ? 10.0 : 0.0);
}

double TableLayout::footerHeight(const QString& title) const
{
    if (m_style == TableViewStyle::Plain)
        return title.isEmpty() ? 0.0 : 23.0;
    if (title.isEmpty())
        return 10.0;
    const QFontMetrics fm(Font::systemFont(15));
    const int w = std::max(50, static_cast<int>(m_width - 2 * insetX() - 20));
    const QRect r = fm.boundingRect(QRect(0, 0, w, 10000), Qt::TextWordWrap, title);
    return r.height() + 20.0;
}

void TableLayout::rebuild(TableView* table, TableViewDataSource* dataSource,
                          TableViewDelegate* delegate, TableViewStyle style, double rowHeight,
                          double width)
{
    m_style = style;
    m_width = width;
    m_sections.clear();
    const int sections =
        dataSource ? std::max(0, dataSource->numberOfSectionsInTableView(table)) : 0;
    double y = 0;
    for (int s = 0; s < sections; ++s) {
        Section sec;
        sec.top = y;
        sec.headerTitle = dataSource->titleForHeaderInSection(table, s);
        sec.footerTitle = dataSource->titleForFooterInSection(table, s);
        sec.header = headerHeight(sec.headerTitle, s == 0);
        sec.footer = footerHeight(sec.footerTitle);
        const int rows = std::max(0, dataSource->numberOfRowsInSection(table, s));
        sec.rowTops.resize(static_cast<size_t>(rows) + 1);
        double ry = 0;
        for (int r = 0; r < rows; ++r) {
            sec.rowTops[r] = ry;
            const double h = delegate ? delegate->heightForRowAtIndexPath(table, {s, r}) : -1;
            ry += h >= 0 ? h : rowHeight;
        }
        sec.rowTops[rows] = ry;
        y = sec.bottom();
        m_sections.push_back(std::move(sec));
    }
    m_contentHeight = y;
}

QRectF TableLayout::rowRect(IndexPath ip) const
{
    if (ip.section < 0 || ip.section >= sectionCount())
        return {};
    const Section& sec = m_sections[ip.section];
    if (ip.row < 0 || ip.row >= sec.rows())
        return {};
    const double inset = insetX();
    return QRectF(inset, sec.rowsTop() + sec.rowTops[ip.row], m_width - 2 * inset,
                  sec.rowTops[ip.row + 1] - sec.rowTops[ip.row]);
}

std::vector<IndexPath> TableLayout::rowsBetween(double top, double bottom) const
{
    std::vector<IndexPath> rows;
    for (int s = 0; s < sectionCount(); ++s) {
        const Section& sec = m_sections[s];
        if (sec.bottom() < top || sec.top > bottom)
            continue;
        const double relTop = top - sec.rowsTop();
        const double relBottom = bottom - sec.rowsTop();
        auto first = std::upper_bound(sec.rowTops.begin(), sec.rowTops.end() - 1, relTop);
        int r = std::max(0, static_cast<int>(first - sec.rowTops.begin()) - 1);
        for (; r < sec.rows() && sec.rowTops[r] < relBottom; ++r)
            if (sec.rowTops[r + 1] > relTop)
                rows.push_back({s, r});
    }
    return rows;
}

} // namespace ui
