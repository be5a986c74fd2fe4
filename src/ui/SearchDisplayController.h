#pragma once

#include <QObject>
#include <QPointer>

namespace ui {

class SearchBar;
class SearchDisplayDelegate;
class TableView;
class TableViewDataSource;
class TableViewDelegate;

// Lays a results table over a screen's table while its search bar holds
// text, and takes it away when the text is cleared. The results table is
// served by the same data source and delegate as the screen's own; they tell
// the two apart by the table they are asked about.
class SearchDisplayController : public QObject {
    Q_OBJECT
public:
    // The results table is made beside contents (same parent, same place).
    SearchDisplayController(SearchBar* searchBar, TableView* contents, QObject* parent = nullptr);
    ~SearchDisplayController() override;

    SearchBar* searchBar() const { return m_searchBar; }
    TableView* searchResultsTableView() const { return m_results; }
    // True while the results table covers the screen's table.
    bool isActive() const { return m_active; }

    void setDelegate(SearchDisplayDelegate* delegate) { m_delegate = delegate; }
    void setSearchResultsDataSource(TableViewDataSource* dataSource);
    void setSearchResultsDelegate(TableViewDelegate* delegate);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textChanged(const QString& text);

    QPointer<SearchBar> m_searchBar;
    QPointer<TableView> m_contents;
    QPointer<TableView> m_results;
    SearchDisplayDelegate* m_delegate = nullptr;
    bool m_active = false;
};

} // namespace ui
