#pragma once

#include "ui/IndexPath.h"
#include "ui/TableLayout.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QString>

class QScrollBar;

#include <map>
#include <optional>
#include <unordered_set>
#include <vector>

namespace ui {

class TableViewCell;
class TableViewDataSource;
class TableViewDelegate;

enum class TableViewStyle { Plain, Grouped };
enum class ScrollPosition { None, Top, Middle, Bottom };

// A scrolling list of sections and rows that asks its data source for cells
// only for the rows on screen, and keeps cells that scroll away in a pool
// per reuse identifier, so 30 000 rows cost about as much as 30.
class TableView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TableView(TableViewStyle style, QWidget* parent = nullptr);
    ~TableView() override;

    TableViewStyle tableStyle() const { return m_style; }
    void setDataSource(TableViewDataSource* dataSource) { m_dataSource = dataSource; }
    void setDelegate(TableViewDelegate* delegate) { m_delegate = delegate; }
    TableViewDataSource* dataSource() const { return m_dataSource; }
    TableViewDelegate* delegate() const { return m_delegate; }

    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height);

    // Asks the data source again for everything and redraws the visible rows.
    void reloadData();
    // A cell from the pool of this identifier, or nullptr when none is free.
    TableViewCell* dequeueReusableCell(const QString& identifier);

    int numberOfSections() const { return m_layout.sectionCount(); }
    int numberOfRowsInSection(int section) const;
    // The cell showing that row, or nullptr when the row is off screen.
    TableViewCell* cellForRowAtIndexPath(IndexPath indexPath) const;
    QList<TableViewCell*> visibleCells() const;
    // Every cell this table owns: on screen and in the pools.
    int cellCount() const { return static_cast<int>(m_known.size()); }

    std::optional<IndexPath> indexPathForSelectedRow() const { return m_selected; }
    void selectRowAtIndexPath(std::optional<IndexPath> indexPath, bool animated,
                              ScrollPosition position);
    void deselectRowAtIndexPath(IndexPath indexPath, bool animated);
    // What a tap on the row does: ask the delegate, select, tell the delegate.
    void tapRowAtIndexPath(IndexPath indexPath);

    void scrollToRowAtIndexPath(IndexPath indexPath, ScrollPosition position, bool animated);
    // Row rectangle in content coordinates (0 = top of the first section).
    QRectF rectForRowAtIndexPath(IndexPath indexPath) const;
    double contentHeight() const { return m_layout.contentHeight(); }
    int contentOffset() const;
    void setContentOffset(int y);

    bool isDragging() const { return m_dragging; }
    // Up, Down, Home and End move the selection, Return chooses the row
    // (as a tap would); off, the keys scroll.
    void setKeyboardSelectsRows(bool on) { m_keyboardSelectsRows = on; }

    // The whole table as text: each section's title, then one line per row.
    QString dumpText();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildModel();
    void layoutCells();
    void adopt(TableViewCell* cell);
    void recycle(TableViewCell* cell);
    void paintViewport(QPaintEvent* event);
    void beginDrag();
    void endDrag(bool willDecelerate);
    bool handlePointer(QObject* watched, QEvent* event);
    double insetX() const;
    void onCellTapped(TableViewCell* cell);

    TableViewStyle m_style;
    TableViewDataSource* m_dataSource = nullptr;
    TableViewDelegate* m_delegate = nullptr;
    double m_rowHeight = 44.0;
    TableLayout m_layout;
    std::map<IndexPath, TableViewCell*> m_visible;
    QHash<QString, QList<TableViewCell*>> m_pool;
    std::unordered_set<TableViewCell*> m_known;
    std::optional<IndexPath> m_selected;
    bool m_dragging = false;
    bool m_keyboardSelectsRows = false;
    bool m_pointerDown = false;
    QPointF m_pressPos;
    int m_pressOffset = 0;
    TableViewCell* m_pressCell = nullptr;
    bool m_inLayout = false;
    QScrollBar* m_indicator = nullptr;
};

} // namespace ui
