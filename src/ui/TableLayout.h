#pragma once

#include "ui/IndexPath.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace ui {

class TableView;
class TableViewDataSource;
class TableViewDelegate;
enum class TableViewStyle;

// Where every section header, row and footer of a table sits, in content
// coordinates (0 = top of the first section). Rebuilt on every reload; finds
// the rows in a band by binary search, so long tables stay cheap.
class TableLayout {
public:
    struct Section {
        double top = 0;    // content y of the header
        double header = 0; // header height
        double footer = 0; // footer height
        QString headerTitle;
        QString footerTitle;
        std::vector<double> rowTops; // rows + 1 entries, relative to the first row
        int rows() const { return static_cast<int>(rowTops.size()) - 1; }
        double rowsTop() const { return top + header; }
        double bottom() const { return rowsTop() + rowTops.back() + footer; }
    };

    // Asks the data source and delegate for titles, counts and heights.
    void rebuild(TableView* table, TableViewDataSource* dataSource, TableViewDelegate* delegate,
                 TableViewStyle style, double rowHeight, double width);

    const std::vector<Section>& sections() const { return m_sections; }
    int sectionCount() const { return static_cast<int>(m_sections.size()); }
    double contentHeight() const { return m_contentHeight; }
    // Grouped tables inset their rows from the sides.
    static double insetX(TableViewStyle style, double width);
    double insetX() const { return insetX(m_style, m_width); }

    // The row's rectangle, or an empty one for a row that does not exist.
    QRectF rowRect(IndexPath indexPath) const;
    // Rows that overlap the band [top, bottom), in order.
    std::vector<IndexPath> rowsBetween(double top, double bottom) const;

private:
    double headerHeight(const QString& title, bool first) const;
    double footerHeight(const QString& title) const;

    std::vector<Section> m_sections;
    double m_contentHeight = 0;
    TableViewStyle m_style{};
    double m_width = 0;
};

} // namespace ui
