#include "screens/log/LogTableController.h"
#include "LogFakes.h"
#include "screens/log/LogMessageLabel.h"
#include "stats/LogDateFormat.h"
#include "support/IdiomScope.h"
#include "support/TestSupport.h"
#include "ui/Font.h"
#include "ui/Pasteboard.h"
#include "ui/SearchBar.h"
#include "ui/SearchDisplayController.h"
#include "ui/TableViewCell.h"

#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

using logfakes::FakeJournal;
using logfakes::record;

namespace {

constexpr double kT = 1700000000; // 14 Nov 2023 22:13:20 UTC

// Levels 0..7 plus the two outside the table, each with a plain message.
std::vector<LogRecord> everyLevel()
{
    std::vector<LogRecord> out;
    const int levels[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, -1};
    int k = 0;
    for (int level : levels) {
        out.push_back(record(kT - k, level, QStringLiteral("app%1").arg(k),
                             QString::number(1200 + k), QStringLiteral("plain text %1").arg(k)));
        ++k;
    }
    return out;
}

struct Rig {
    explicit Rig(std::vector<LogRecord> records,
                 ui::UserInterfaceIdiom idiom = ui::UserInterfaceIdiom::Phone)
        : idiom(idiom), journal(std::make_shared<FakeJournal>(std::move(records))), stats(journal),
          screen(LogTableController::Host{stats})
    {
        screen.awakeFromNib();
        screen.view()->resize(idiom == ui::UserInterfaceIdiom::Pad ? 768 : 320, 600);
        screen.view()->show();
    }
    bool load()
    {
        screen.reloadData();
        return testsupport::waitUntil([this] { return !screen.isLoading(); });
    }
    ui::TableView* results() { return screen.searchDisplayController()->searchResultsTableView(); }
    void type(const QString& text) { screen.searchBar()->setText(text); }
    QStringList resultMessages()
    {
        QStringList out;
        for (int i : screen.filterList())
            out << screen.messageList()[size_t(i)].message;
        return out;
    }

    testsupport::IdiomScope idiom;
    std::shared_ptr<FakeJournal> journal;
    LogStats stats;
    LogTableController screen;
};

QLabel* labelOf(ui::TableViewCell* cell, int tag)
{
    return qobject_cast<QLabel*>(cell->viewWithTag(tag));
}

} // namespace

TEST(LogSearch, MatchesMessageThenSeverityThenSenderThenTime)
{
    std::vector<LogRecord> records = everyLevel();
    records.push_back(record(kT + 3600 * 24 * 40, 6, "cron", "42", "rotate %s .* [x"));
    Rig rig(records);
    ASSERT_TRUE(rig.load());
    ASSERT_EQ(rig.screen.messageList().size(), 11u);

    // A severity prefix in any case keeps every record of that severity,
    // whatever its message says.
    rig.type("WARN");
    EXPECT_EQ(rig.resultMessages(), QStringList{"plain text 4"});
    rig.type("deB");
    EXPECT_EQ(rig.resultMessages(), (QStringList{"plain text 7", "plain text 8", "plain text 9"}));
    // "[" and the first digits of a process number: through "sender [pid]".
    rig.type("[120");
    EXPECT_EQ(rig.resultMessages().size(), 10);
    rig.type("[1203");
    EXPECT_EQ(rig.resultMessages(), QStringList{"plain text 3"});
    // The date as the screen shows it.
    rig.type("24 Dec 2023");
    EXPECT_EQ(rig.resultMessages(), QStringList{"rotate %s .* [x"});
    // Pattern and format characters are plain text.
    rig.type("%s");
    EXPECT_EQ(rig.resultMessages(), QStringList{"rotate %s .* [x"});
    rig.type(".*");
    EXPECT_EQ(rig.resultMessages(), QStringList{"rotate %s .* [x"});
    rig.type("[");
    EXPECT_EQ(rig.resultMessages().size(), 11);
    rig.type(QString(10000, QLatin1Char('a')));
    EXPECT_TRUE(rig.resultMessages().isEmpty());
    EXPECT_EQ(rig.results()->numberOfRowsInSection(0), 0);
}

TEST(LogSearch, TypingAndDeletingAgreesWithAFreshFilter)
{
    std::vector<LogRecord> records;
    const char* words[] = {"error in disk", "Erratic fan", "terror", "ok", "ERR!", "berry"};
    for (int i = 0; i < 60; ++i)
        records.push_back(record(kT - i, i % 8, "s", QString::number(i), words[i % 6]));
    Rig rig(records);
    ASSERT_TRUE(rig.load());
    // Each step filtered from the step before must equal the same text
    // filtered from scratch.
    for (const char* typed : {"e", "er", "err", "erro", "err", "e", "ber", "berr"}) {
        const QString text = QString::fromLatin1(typed);
        rig.type(text);
        std::vector<int> fresh;
        for (size_t i = 0; i < rig.screen.messageList().size(); ++i)
            if (!LogTableController::shouldBeFilteredBy(rig.screen.messageList()[i], text))
                fresh.push_back(int(i));
        EXPECT_EQ(rig.screen.filterList(), fresh) << text.toStdString();
        EXPECT_EQ(rig.results()->numberOfRowsInSection(0), int(fresh.size()));
    }
    // The results table covers the screen's table only while there is text.
    EXPECT_TRUE(rig.results()->isVisible());
    rig.type("");
    EXPECT_FALSE(rig.results()->isVisible());
    EXPECT_EQ(rig.screen.tableView()->numberOfRowsInSection(0), 60);
}

TEST(LogRows, SeverityWordsAndColoursForEveryLevel)
{
    Rig rig(everyLevel());
    ASSERT_TRUE(rig.load());
    const QColor red(153, 0, 0), amber(209, 148, 12), green(38, 119, 38), grey(180, 180, 180);
    const struct {
        const char* name;
        QColor color;
    } expected[] = {{"Emergency", red}, {"Alert", red},    {"Critical", red}, {"Error", red},
                    {"Warning", amber}, {"Notice", green}, {"Info", green},   {"Debug", grey},
                    {"Debug", grey},    {"Debug", grey}}; // 7, then 9 and -1
    ui::TableView* table = rig.screen.tableView();
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE(row);
        table->scrollToRowAtIndexPath({0, row}, ui::ScrollPosition::Top, false);
        ui::TableViewCell* cell = table->cellForRowAtIndexPath({0, row});
        ASSERT_NE(cell, nullptr);
        QLabel* severity = labelOf(cell, 4);
        EXPECT_EQ(severity->text(), expected[row].name);
        EXPECT_EQ(severity->palette().color(QPalette::WindowText), expected[row].color);
        EXPECT_EQ(labelOf(cell, 3)->text(), QStringLiteral("app%1 [%2]").arg(row).arg(1200 + row));
        EXPECT_EQ(labelOf(cell, 2)->text(), LogDateFormat().format(kT - row));
    }
}

TEST(LogRows, HeightsFitTheWrappedMessageOnBothScreens)
{
    const QString oneLine = QStringLiteral("short");
    const QString longText = QString("word ").repeated(120);
    for (auto idiom : {ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad}) {
        const bool large = idiom == ui::UserInterfaceIdiom::Pad;
        SCOPED_TRACE(large);
        Rig rig({record(kT, 6, "a", "1", oneLine), record(kT - 1, 6, "b", "2", longText)}, idiom);
        ASSERT_TRUE(rig.load());
        ui::TableView* table = rig.screen.tableView();
        const double line = QFontMetrics(ui::Font::systemFont(13)).height();
        EXPECT_DOUBLE_EQ(rig.screen.heightForRowAtIndexPath(table, {0, 0}),
                         line + (large ? 42 : 58));
        // The long message wraps to several lines, and the label shows all
        // of them within the row.
        const double tall = rig.screen.heightForRowAtIndexPath(table, {0, 1});
        EXPECT_GT(tall, 3 * line + (large ? 42 : 58));
        ui::TableViewCell* cell = table->cellForRowAtIndexPath({0, 1});
        ASSERT_NE(cell, nullptr);
        QLabel* message = labelOf(cell, 1);
        EXPECT_EQ(message->geometry().x(), large ? 20 : 10);
        EXPECT_EQ(message->geometry().y(), large ? 32 : 50);
        EXPECT_GE(message->height(), message->heightForWidth(message->width()));
        EXPECT_LE(message->geometry().bottom(), tall);
    }
}

TEST(LogRows, HugeMessageShownCutCopiedWholeAndMissingKeysEmpty)
{
    LogRecord bare;
    bare.insert("Time", QString::number(kT + 10, 'f', 6));
    const QString huge = QString("x").repeated(200000);
    Rig rig({bare, record(kT, 3, "big", "7", huge), record(kT, 3, "tie", "8", "same time")});
    ASSERT_TRUE(rig.load());
    const auto& list = rig.screen.messageList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].shownMessage.size(), LogEntry::kMaxShown + 1);
    EXPECT_TRUE(list[1].shownMessage.endsWith(QChar(0x2026)));

    ui::TableView* table = rig.screen.tableView();
    ui::TableViewCell* first = table->cellForRowAtIndexPath({0, 0});
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(labelOf(first, 1)->text(), QString());
    EXPECT_EQ(labelOf(first, 4)->text(), QString());
    EXPECT_EQ(labelOf(first, 3)->text(), " []");

    table->scrollToRowAtIndexPath({0, 1}, ui::ScrollPosition::Top, false);
    auto* message =
        qobject_cast<LogMessageLabel*>(table->cellForRowAtIndexPath({0, 1})->viewWithTag(1));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text().size(), LogEntry::kMaxShown + 1);
    message->performAction(ui::EditAction::Copy);
    EXPECT_EQ(ui::Pasteboard::generalPasteboard().string().size(), huge.size());
}

TEST(LogWindow, ReloadRunsWhileTheTableKeepsAnswering)
{
    Rig rig({record(kT, 6, "old", "1", "first window")});
    ASSERT_TRUE(rig.load());
    rig.journal->setRecords(
        {record(kT + 2, 6, "new", "2", "second"), record(kT + 1, 6, "new", "3", "window")});
    rig.journal->setOpen(false);
    rig.screen.clickMe();
    ASSERT_TRUE(testsupport::waitUntil([&] { return rig.journal->isReading(); }));

    // The read is stuck in the journal; the UI thread runs timers, answers
    // the table from the previous window and filters it as the user types.
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    EXPECT_TRUE(testsupport::waitUntil([&] { return ticked; }));
    EXPECT_TRUE(rig.screen.isLoading());
    EXPECT_EQ(rig.screen.tableView()->numberOfRowsInSection(0), 1);
    rig.type("first");
    EXPECT_EQ(rig.results()->numberOfRowsInSection(0), 1);

    rig.journal->setOpen(true);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !rig.screen.isLoading(); }));
    EXPECT_EQ(rig.screen.tableView()->numberOfRowsInSection(0), 2);
    // The search text is applied to the new window.
    EXPECT_EQ(rig.results()->numberOfRowsInSection(0), 0);
    rig.type("window");
    EXPECT_EQ(rig.resultMessages(), QStringList{"window"});
}

TEST(LogWindow, SortedNewestFirstAndTheMediumDateStyle)
{
    const auto entries =
        LogStats::entries({record(5, 0, "a", "1", "mid"), record(9, 0, "b", "1", "new"),
                           record(1, 0, "c", "1", "old"), record(5, 0, "d", "1", "tie")});
    QStringList order;
    for (const LogEntry& e : entries)
        order << e.message;
    EXPECT_EQ(order.first(), "new");
    EXPECT_EQ(order.last(), "old");
    EXPECT_TRUE(order.contains("tie") && order.contains("mid"));

    // Abbreviated month, four-digit year, seconds, no zone.
    EXPECT_EQ(LogDateFormat(QLocale::c()).format(kT + 0.75), "14 Nov 2023 22:13:20");
    EXPECT_EQ(LogDateFormat(QLocale(QLocale::English, QLocale::UnitedStates)).format(kT),
              "Nov 14, 2023 10:13:20 PM");
    EXPECT_EQ(LogDateFormat(QLocale(QLocale::German, QLocale::Germany)).format(kT),
              "14. Nov. 2023 22:13:20");
}
