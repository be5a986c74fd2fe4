// System log: the newest 5 000 records of a 1 000 000-entry journal against
// `journalctl -n 5000 -r -o json --directory` on the same files, interleaved
// round by round; then one search keystroke over the window (filter and
// results-table reload), scrolling the window's variable-height rows a
// screen at a time, and the resident memory the loaded window costs.
//   bench_journal [N]   (default 1000000; the journal is made once and kept
//                        under /var/tmp)
#include "BenchSupport.h"

#include "host/journal/FallbackJournal.h"
#include "host/journal/SdJournalReader.h"
#include "screens/log/LogTableController.h"
#include "stats/LogStats.h"
#include "ui/Device.h"
#include "ui/SearchBar.h"
#include "ui/SearchDisplayController.h"
#include "ui/TableView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace {

// The window handed over as it was read, so the screen's costs are timed
// without the journal's.
class ReadJournal : public Journal {
public:
    explicit ReadJournal(std::vector<LogRecord> records) : m_records(std::move(records)) {}
    bool isAvailable() override { return true; }
    std::vector<LogRecord> newest(std::size_t, std::stop_token) override { return m_records; }
    QString name() const override { return QStringLiteral("window"); }

private:
    std::vector<LogRecord> m_records;
};

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Wall and UI-thread CPU of one piece of UI work: on a loaded machine the
// wall time also holds other processes' turns.
struct Samples {
    std::vector<double> wall, cpu;
    void time(const std::function<void()>& work)
    {
        const double w0 = bench::wallNowMs(), c0 = threadCpuMs();
        work();
        wall.push_back(bench::wallNowMs() - w0);
        cpu.push_back(threadCpuMs() - c0);
    }
    static double at(std::vector<double> v, double q)
    {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(double(v.size()) * q))];
    }
    void print(const char* what, const char* goal) const
    {
        std::printf("%s: median %.2f ms, 95th %.2f ms, max %.2f ms wall; UI-thread CPU median "
                    "%.2f ms, 95th %.2f ms, max %.2f ms (goal %s)\n",
                    what, at(wall, 0.5), at(wall, 0.95), at(wall, 1), at(cpu, 0.5), at(cpu, 0.95),
                    at(cpu, 1), goal);
    }
};

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

std::string makeJournal(int n)
{
    const std::string dir = "/var/tmp/welvane-bench-journal-" + std::to_string(n);
    const std::string file = dir + "/anchor.journal";
    if (QFile::exists(QString::fromStdString(file)))
        return dir;
    std::printf("making a journal of %d entries in %s (once)...\n", n, dir.c_str());
    std::fflush(stdout);
    bool ok = false;
    bench::runOnce({"mkdir", "-p", dir}, &ok);
    bench::runOnce(
        {"sh", "-c",
         "python3 '" + bench::workloads() + "/gen_journal_export.py' " + std::to_string(n) +
             " | /lib/systemd/systemd-journal-remote --split-mode=none --output='" + file + "' -"},
        &ok);
    if (!ok) {
        std::fprintf(stderr, "could not make the journal\n");
        std::exit(1);
    }
    return dir;
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const std::string dir = makeJournal(n);
    constexpr std::size_t kWindow = 5000;

    // Reading the window: ours (journal read, entries made and sorted) and
    // journalctl writing JSON to /dev/null.
    // Through the fallback chain, as the application reads it.
    std::vector<std::unique_ptr<Journal>> chain;
    chain.push_back(std::make_unique<SdJournalReader>(QString::fromStdString(dir), QStringList{}));
    FallbackJournal reader(std::move(chain));
    std::size_t rows = 0;
    const std::vector<bench::Timing> t =
        bench::interleave(7, {[&] {
                                  return bench::timeOnce([&] {
                                      rows = LogStats::entries(reader.newest(kWindow)).size();
                                  });
                              },
                              [&] {
                                  return bench::runOnce({"journalctl", "--directory=" + dir, "-n",
                                                         "5000", "-r", "-o", "json", "--no-pager"});
                              }});
    std::printf("newest %zu of %d journal entries, median of 7 rounds:\n", rows, n);
    std::printf("  journal window + entries %8.1f ms wall, %8.1f ms CPU\n", t[0].wall_ms,
                t[0].cpu_ms);
    std::printf("  journalctl -o json      %8.1f ms wall, %8.1f ms CPU\n", t[1].wall_ms,
                t[1].cpu_ms);
    std::printf("  ratio %.2f wall, %.2f CPU (goal <= 1.0)\n",
                bench::ratio(t[0].wall_ms, t[1].wall_ms), bench::ratio(t[0].cpu_ms, t[1].cpu_ms));

    // The screen, off screen, small layout, over that window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::Device::setUserInterfaceIdiom(ui::UserInterfaceIdiom::Phone);
    LogStats stats(std::make_shared<ReadJournal>(reader.newest(kWindow)));
    const double rssBefore = residentMiB();
    LogTableController screen(LogTableController::Host{stats});
    screen.awakeFromNib();
    screen.view()->resize(320, 436);
    screen.view()->show();
    QElapsedTimer first;
    first.start();
    screen.reloadData();
    Samples loading;
    while (screen.isLoading())
        loading.time([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); });
    const double firstMs = first.elapsed();
    const double rssLoaded = residentMiB();

    // Keystrokes: typing a word letter by letter, then replacing it (a
    // search from scratch over the whole window each time).
    ui::SearchBar* bar = screen.searchBar();
    Samples keys;
    const char* words[] = {"quota", "nginx", "backup", "zz-no-such-text", "ERR", "[12", "Nov"};
    for (int round = 0; round < 5; ++round)
        for (const char* word : words) {
            const QString w = QString::fromLatin1(word);
            for (qsizetype k = 1; k <= w.size(); ++k) {
                // Filter, reload and paint the results as the user sees them.
                keys.time([&] {
                    bar->setText(w.left(k));
                    screen.searchDisplayController()
                        ->searchResultsTableView()
                        ->viewport()
                        ->repaint();
                });
            }
            bar->setText(QString());
        }
    std::printf("%zu records in the window\n", screen.messageList().size());
    keys.print("search keystroke", "< 16 ms");

    // Scrolling a screen at a time through the whole window, painted.
    ui::TableView* table = screen.tableView();
    const int page = table->viewport()->height();
    Samples screens;
    for (int y = 0; y + page < int(table->contentHeight()); y += page)
        screens.time([&] {
            table->setContentOffset(y);
            table->viewport()->repaint();
        });
    std::printf("%zu screens of variable-height rows\n", screens.wall.size());
    screens.print("scrolling a screen", "< 4 ms");
    std::printf("first window in %.0f ms, read off the UI thread, measured in slices on it\n",
                firstMs);
    loading.print("UI-thread event-loop turns meanwhile", "no stall");
    std::printf("resident memory: %.1f MiB with the window loaded (+%.1f MiB for it)\n", rssLoaded,
                rssLoaded - rssBefore);
    return 0;
}
