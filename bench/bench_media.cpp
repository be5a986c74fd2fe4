// Media counts over N generated files: a cold count (no cache) against a
// plain TagLib tags-only scan of the same files, a warm count (nothing
// changed) against the cold one, interleaved round by round; then the
// longest stall of the UI thread's event loop while the files page counts
// cold.
//   bench_media [N]   (default 5000; the library is made once under /tmp)
#include "BenchSupport.h"

#include "host/media/TagLibMediaLibrary.h"
#include "host/media/TagReader.h"
#include "screens/files/DiskTableController.h"
#include "stats/DeviceFacts.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

#include <array>
#include <filesystem>
#include <fstream>

namespace {

using Counts = std::array<int32_t, kMediaQueryCount>;

// The generator's last line, kept beside the library so a later run reuses it.
std::string libraryOf(int n, std::string& expected)
{
    const std::string dir = "/tmp/welvane-bench-media-" + std::to_string(n);
    const std::string stamp = dir + ".counts";
    std::ifstream in(stamp);
    if (!std::getline(in, expected)) {
        std::printf("generating %d files in %s...\n", n, dir.c_str());
        std::fflush(stdout);
        std::filesystem::remove_all(dir);
        bool ok = false;
        bench::runOnce({"sh", "-c",
                        "python3 " + bench::workloads() + "/gen_media.py " + std::to_string(n) +
                            " " + dir + " | tail -n 1 > " + stamp},
                       &ok);
        std::ifstream again(stamp);
        if (!ok || !std::getline(again, expected)) {
            std::fprintf(stderr, "could not generate the library\n");
            std::exit(1);
        }
    }
    return dir;
}

std::string text(const Counts& c)
{
    static const char* const names[] = {"songs",    "albums",     "artists",
                                        "podcasts", "audiobooks", "composers",
                                        "genres",   "playlists",  "compilations"};
    std::string out;
    for (int i = 0; i < kMediaQueryCount; ++i)
        out += (i ? " " : "") + std::string(names[i]) + "=" + std::to_string(c[i]);
    return out;
}

// What any tag reader has to do at least: walk the folder and open every
// audio file for its tags.
int plainTagScan(const std::string& dir)
{
    int read = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file() || !TagReader::isAudioName(e.path().filename().native()))
            continue;
        TagLib::FileRef f(e.path().c_str(), false);
        if (!f.isNull() && f.tag())
            read += !(f.tag()->artist() + f.tag()->album() + f.tag()->genre()).isEmpty();
    }
    return read;
}

void dropCache(const std::string& path)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(path + suffix);
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 5000;
    std::string expected;
    const std::string dir = libraryOf(n, expected);
    const std::string cache = "/tmp/welvane-bench-media-cache/media.sqlite";
    TagLibMediaLibrary library(cache);
    Counts counts{};
    const auto count = [&] {
        library.countAll(dir, {}, [&](MediaQuery q, int32_t v) { counts[int(q)] = v; });
    };
    count(); // the files in the page cache for every contestant
    if (text(counts) != expected)
        std::fprintf(stderr, "warning: counts differ from the generator's:\n  %s\n  %s\n",
                     text(counts).c_str(), expected.c_str());

    const int rounds = 7;
    const std::vector<bench::Timing> t =
        bench::interleave(rounds, {[&] { return bench::timeOnce([&] { plainTagScan(dir); }); },
                                   [&] {
                                       dropCache(cache);
                                       return bench::timeOnce(count);
                                   },
                                   [&] { return bench::timeOnce(count); }});
    std::printf("media counts, %d files (%s), median of %d rounds:\n", n, text(counts).c_str(),
                rounds);
    std::printf("  TagLib tag scan %8.1f ms wall, %8.1f ms CPU\n", t[0].wall_ms, t[0].cpu_ms);
    std::printf("  cold count      %8.1f ms wall, %8.1f ms CPU\n", t[1].wall_ms, t[1].cpu_ms);
    std::printf("  warm count      %8.1f ms wall, %8.1f ms CPU\n", t[2].wall_ms, t[2].cpu_ms);
    std::printf("  cold / tag scan %.2f wall, %.2f CPU (goal <= 1.2)\n",
                bench::ratio(t[1].wall_ms, t[0].wall_ms), bench::ratio(t[1].cpu_ms, t[0].cpu_ms));
    std::printf("  warm / cold     %.3f wall, %.3f CPU (goal <= 0.1)\n",
                bench::ratio(t[2].wall_ms, t[1].wall_ms), bench::ratio(t[2].cpu_ms, t[1].cpu_ms));

    // The page itself, counting cold while its event loop ticks every millisecond.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DeviceFacts facts;
    DiskTableController page(DiskTableController::Host{
        library, [&dir] { return dir; }, facts,
        [] { return QDateTime::currentMSecsSinceEpoch() / 1000.0; }, BackgroundWorker::longJobs()});
    page.view()->resize(320, 480);
    page.view()->show();
    // The longest gap between the ticks of a 1 ms timer while busy() holds.
    const auto longestStall = [](const std::function<bool()>& busy) {
        QElapsedTimer clock;
        qint64 last = 0, longest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 at = clock.nsecsElapsed();
            longest = std::max(longest, at - last);
            last = at;
        });
        tick.start(1);
        clock.start();
        while (busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return std::pair{clock.nsecsElapsed() / 1e6, longest / 1e6};
    };
    dropCache(cache);
    page.beginAppearance(false);
    page.endAppearance(false);
    const auto [scanMs, stallMs] = longestStall([&] { return page.isLoading(); });
    // The same loop with nothing to do, as long: what the machine's load alone costs.
    QElapsedTimer idle;
    idle.start();
    const auto [idleMs, idleStallMs] = longestStall([&] { return idle.elapsed() < scanMs; });
    std::printf("  files page, cold: counts in after %.1f ms; longest event-loop stall %.2f ms "
                "(%.2f ms over as long with no scan)\n",
                scanMs, stallMs, idleStallMs);
    (void)idleMs;
    return 0;
}
