#include "screens/log/LogTableController.h"

#include "drawing/Palette.h"
#include "screens/log/LogMessageLabel.h"
#include "ui/BarButtonItem.h"
#include "ui/Device.h"
#include "ui/Font.h"
#include "ui/NavigationItem.h"
#include "ui/SearchBar.h"
#include "ui/SearchDisplayController.h"
#include "ui/TableViewCell.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum Tag { kMessageTag = 1, kTimeTag = 2, kSenderTag = 3, kSeverityTag = 4 };

constexpr double kFontSize = 13.0;

QRect frame(bool large, QRect largeFrame, QRect smallFrame)
{
    return large ? largeFrame : smallFrame;
}

QLabel* addLabel(QLabel* label, QWidget* content, int tag, QRect rect, const QFont& font,
                 const QColor& color, Qt::Alignment alignment)
{
    label->setParent(content);
    label->setGeometry(rect);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText); // messages are text, never markup
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAutoFillBackground(false);
    QPalette colors = label->palette();
    colors.setColor(QPalette::WindowText, color);
    label->setPalette(colors);
    label->setText(QString());
    ui::TableViewCell::setTag(label, tag);
    return label;
}

} // namespace

LogTableController::LogTableController(Host host, QObject* parent)
    : ScreenController(QStringLiteral("System Log"), ui::TableViewStyle::Plain, parent),
      m_host(host), m_messageList(host.log.window())
{
    m_heights.assign(m_messageList->size(), -1.0);
    m_measureTimer.setInterval(0);
    connect(&m_measureTimer, &QTimer::timeout, this, &LogTableController::measureSlice);
    connect(&m_host.log, &LogStats::windowChanged, this, &LogTableController::windowChanged);
}

LogTableController::~LogTableController() = default;

void LogTableController::awakeFromNib()
{
    m_filterList.clear();
    m_filterText.clear();
}

QWidget* LogTableController::loadView()
{
    QWidget* table = ScreenController::loadView();
    auto* container = new QWidget;
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_searchBar = new ui::SearchBar(container);
    layout->addWidget(m_searchBar);
    layout->addWidget(table, 1);
    m_searchDisplay =
        new ui::SearchDisplayController(m_searchBar, static_cast<ui::TableView*>(table), this);
    m_searchDisplay->setDelegate(this);
    m_searchDisplay->setSearchResultsDataSource(this);
    m_searchDisplay->setSearchResultsDelegate(this);
    return container;
}

ui::SearchBar* LogTableController::searchBar()
{
    view();
    return m_searchBar;
}

ui::SearchDisplayController* LogTableController::searchDisplayController()
{
    view();
    return m_searchDisplay;
}

void LogTableController::viewDidLoad()
{
    navigationItem()->setRightBarButtonItem(new ui::BarButtonItem(
        QStringLiteral("Refresh"), [this] { clickMe(); }, this));
    if (ui::Device::isPad())
        navigationItem()->setHidesBackButton(true);
}

void LogTableController::reloadData()
{
    m_host.log.reload();
}

void LogTableController::clickMe()
{
    reloadData();
}

void LogTableController::windowChanged()
{
    // Thousands of rows are measured before the table takes them, a slice
    // at a time, so the event loop keeps turning; the table shows the
    // previous window meanwhile.
    m_pending = m_host.log.window();
    m_pendingHeights.clear();
    m_pendingHeights.reserve(m_pending->size());
    measureSlice();
    if (m_pending)
        m_measureTimer.start();
}

void LogTableController::measureSlice()
{
    if (!m_pending)
        return;
    const bool large = ui::Device::isPad();
    QElapsedTimer slice;
    slice.start();
    while (m_pendingHeights.size() < m_pending->size() && slice.elapsed() < kSliceMs)
        m_pendingHeights.push_back(
            messageHeight((*m_pending)[m_pendingHeights.size()].shownMessage, large));
    if (m_pendingHeights.size() < m_pending->size())
        return;
    m_measureTimer.stop();
    m_messageList = std::move(m_pending);
    m_pending.reset();
    m_heights = std::move(m_pendingHeights);
    m_pendingHeights.clear();
    // The new window is filtered whole: the narrowing shortcut only holds
    // within one window.
    const QString text = m_filterText;
    m_filterText.clear();
    m_filterList.clear();
    updateFilterList(text);
    tableView()->reloadData();
    if (m_searchDisplay && m_searchDisplay->isActive())
        m_searchDisplay->searchResultsTableView()->reloadData();
}

bool LogTableController::shouldReloadTableForSearchString(ui::SearchDisplayController*,
                                                          const QString& text)
{
    updateFilterList(text);
    return true;
}

void LogTableController::updateFilterList(const QString& text)
{
    const LogStats::Window& list = *m_messageList;
    // A longer text that holds the previous one can only match records the
    // previous one matched: filter what is left instead of the whole window.
    const bool narrowing =
        !m_filterText.isEmpty() && text.contains(m_filterText, Qt::CaseInsensitive);
    std::vector<int> next;
    if (narrowing) {
        for (int i : m_filterList)
            if (!shouldBeFilteredBy(list[size_t(i)], text))
                next.push_back(i);
    } else if (!text.isEmpty()) {
        for (size_t i = 0; i < list.size(); ++i)
            if (!shouldBeFilteredBy(list[i], text))
                next.push_back(int(i));
    }
    m_filterList = std::move(next);
    m_filterText = text;
}

bool LogTableController::shouldBeFilteredBy(const LogEntry& entry, const QString& text)
{
    if (entry.message.contains(text, Qt::CaseInsensitive))
        return false;
    if (entry.level &&
        QLatin1String(severityAsString(*entry.level)).contains(text, Qt::CaseInsensitive))
        return false;
    if (entry.senderText.contains(text, Qt::CaseInsensitive))
        return false;
    return !entry.timeText.contains(text, Qt::CaseInsensitive);
}

const char* LogTableController::severityAsString(int level)
{
    static const char* const kNames[] = {"Emergency", "Alert",  "Critical", "Error",
                                         "Warning",   "Notice", "Info",     "Debug"};
    // Unsigned, so a negative level falls to the last row too.
    const unsigned index = static_cast<unsigned>(level);
    return index < 8 ? kNames[index] : "Debug";
}

QColor LogTableController::severityColor(int level)
{
    const unsigned index = static_cast<unsigned>(level);
    if (index <= 3)
        return palette::kRed;
    if (index == 4)
        return palette::kAmber;
    if (index <= 6)
        return palette::kGreen;
    return palette::kLightGrey;
}

int LogTableController::entryIndex(ui::TableView* tableView, int row) const
{
    const bool results = m_searchDisplay && tableView == m_searchDisplay->searchResultsTableView();
    if (results)
        return row >= 0 && size_t(row) < m_filterList.size() ? m_filterList[size_t(row)] : -1;
    return row >= 0 && size_t(row) < m_messageList->size() ? row : -1;
}

int LogTableController::numberOfRowsInSection(ui::TableView* tableView, int)
{
    const bool results = m_searchDisplay && tableView == m_searchDisplay->searchResultsTableView();
    return int(results ? m_filterList.size() : m_messageList->size());
}

double LogTableController::messageHeight(const QString& message, bool large)
{
    const QFontMetrics metrics(ui::Font::systemFont(kFontSize));
    const int width = large ? 720 : 300;
    // Most messages are one short line: their width alone says so, far
    // cheaper than a wrapped layout.
    const bool breaks = std::any_of(message.begin(), message.end(), [](QChar c) {
        return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
    if (!breaks && message.size() < 400 && metrics.horizontalAdvance(message) <= width)
        return metrics.height();
    const QRect bounds =
        metrics.boundingRect(QRect(0, 0, width, std::numeric_limits<int>::max() / 2),
                             Qt::AlignLeft | Qt::TextWordWrap, message);
    // An empty message still takes one line, as the label does.
    return std::max(bounds.height(), metrics.height());
}

double LogTableController::heightForRowAtIndexPath(ui::TableView* tableView,
                                                   ui::IndexPath indexPath)
{
    const bool large = ui::Device::isPad();
    const int index = entryIndex(tableView, indexPath.row);
    if (index < 0)
        return tableView->rowHeight();
    double& height = m_heights[size_t(index)];
    if (height < 0)
        height = messageHeight((*m_messageList)[size_t(index)].shownMessage, large);
    return height + (large ? 42.0 : 58.0);
}

bool LogTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}

ui::TableViewCell* LogTableController::newCell(const QString& identifier) const
{
    const bool large = ui::Device::isPad();
    auto* cell = new ui::TableViewCell(ui::CellStyle::Default, identifier);
    cell->setSelectionStyle(ui::SelectionStyle::None);
    cell->textLabel()->setFont(ui::Font::systemFont(kFontSize));
    QWidget* content = cell->contentView();
    const QFont font = ui::Font::systemFont(kFontSize);
    addLabel(new QLabel, content, kTimeTag, frame(large, {20, 7, 170, 20}, {10, 6, 220, 20}), font,
             Qt::black, Qt::AlignLeft);
    addLabel(new QLabel, content, kSenderTag, frame(large, {190, 7, 430, 20}, {10, 26, 250, 20}),
             ui::Font::boldSystemFont(kFontSize), Qt::black, Qt::AlignLeft);
    addLabel(new QLabel, content, kSeverityTag, frame(large, {640, 7, 100, 20}, {210, 6, 100, 20}),
             font, Qt::black, Qt::AlignRight);
    auto* message = new LogMessageLabel;
    addLabel(message, content, kMessageTag, frame(large, {20, 32, 720, 20}, {10, 48, 300, 20}),
             font, palette::kValueText, Qt::AlignLeft);
    message->setWordWrap(true);
    message->setUserInteractionEnabled(true);
    return cell;
}

ui::TableViewCell* LogTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                             ui::IndexPath indexPath)
{
    static const QString kIdentifier = QStringLiteral("Cell");
    ui::TableViewCell* cell = tableView->dequeueReusableCell(kIdentifier);
    if (!cell)
        cell = newCell(kIdentifier);
    const int index = entryIndex(tableView, indexPath.row);
    if (index < 0)
        return cell;
    const LogEntry& entry = (*m_messageList)[size_t(index)];
    const bool large = ui::Device::isPad();

    auto* message = static_cast<LogMessageLabel*>(cell->viewWithTag(kMessageTag));
    // On small screens 2 points lower than where the label was made.
    const QRect box = frame(large, {20, 32, 720, 20}, {10, 50, 300, 20});
    message->setText(entry.shownMessage);
    message->setFullText(entry.message);
    double& height = m_heights[size_t(index)];
    if (height < 0)
        height = messageHeight(entry.shownMessage, large);
    message->setGeometry(box.x(), box.y(), box.width(), int(std::ceil(height)));

    static_cast<QLabel*>(cell->viewWithTag(kTimeTag))->setText(entry.timeText);
    static_cast<QLabel*>(cell->viewWithTag(kSenderTag))->setText(entry.senderText);
    auto* severity = static_cast<QLabel*>(cell->viewWithTag(kSeverityTag));
    if (entry.level) {
        severity->setText(QString::fromUtf8(severityAsString(*entry.level)));
        QPalette colors = severity->palette();
        colors.setColor(QPalette::WindowText, severityColor(*entry.level));
        severity->setPalette(colors);
    } else {
        severity->setText(QString());
    }
    return cell;
}
