#pragma once

#include "screens/common/ScreenController.h"
#include "stats/LogStats.h"
#include "ui/SearchDisplayDelegate.h"

#include <QColor>
#include <QTimer>

#include <memory>
#include <vector>

namespace ui {
class SearchBar;
class SearchDisplayController;
} // namespace ui

// The page that shows the system log, newest first, with a search field.
// The log is a window of the newest records read off the UI thread; the
// search filters that window in memory as the user types.
class LogTableController : public ScreenController, public ui::SearchDisplayDelegate {
    Q_OBJECT
public:
    struct Host {
        LogStats& log;
    };

    explicit LogTableController(Host host, QObject* parent = nullptr);
    ~LogTableController() override;

    void awakeFromNib() override;
    void viewDidLoad() override;
    // Reads the window again; the table keeps the previous one until it comes.
    void reloadData() override;
    bool isLoading() const override { return m_host.log.isLoading() || m_pending != nullptr; }
    // The refresh control's action.
    void clickMe();

    // Rebuilds the filter list from the window for the search text.
    void updateFilterList(const QString& text);
    // True when the entry does not match the text (leave it out).
    static bool shouldBeFilteredBy(const LogEntry& entry, const QString& text);
    // "Emergency" ... "Debug"; any value outside 0..7 is "Debug".
    static const char* severityAsString(int level);
    static QColor severityColor(int level);

    const LogStats::Window& messageList() const { return *m_messageList; }
    // Rows of the results table, as positions in messageList.
    const std::vector<int>& filterList() const { return m_filterList; }
    ui::SearchBar* searchBar();
    ui::SearchDisplayController* searchDisplayController();

    int numberOfRowsInSection(ui::TableView* tableView, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    double heightForRowAtIndexPath(ui::TableView* tableView, ui::IndexPath indexPath) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, ui::IndexPath) override
    {
        return std::nullopt;
    }
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;
    bool shouldReloadTableForSearchString(ui::SearchDisplayController*,
                                          const QString& text) override;

    // The height of a message wrapped in the row's message label.
    static double messageHeight(const QString& message, bool large);

protected:
    QWidget* loadView() override;

private:
    void windowChanged();
    void measureSlice();
    int entryIndex(ui::TableView* tableView, int row) const;
    ui::TableViewCell* newCell(const QString& identifier) const;

    Host m_host;
    std::shared_ptr<const LogStats::Window> m_messageList;
    std::vector<int> m_filterList;
    // Measured once per record of the window, on first need.
    mutable std::vector<double> m_heights;
    QString m_filterText;
    // A window that arrived and is being measured before it is shown.
    std::shared_ptr<const LogStats::Window> m_pending;
    std::vector<double> m_pendingHeights;
    QTimer m_measureTimer;
    static constexpr int kSliceMs = 6;
    ui::SearchBar* m_searchBar = nullptr;
    ui::SearchDisplayController* m_searchDisplay = nullptr;
};
