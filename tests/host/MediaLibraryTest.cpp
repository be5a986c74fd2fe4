// The media library over generated and hand-made music folders: the nine
// counts, rescans through the tag cache, and files and caches that are broken.
#include "host/media/MediaCache.h"
#include "host/media/TagLibMediaLibrary.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <optional>
#include <thread>

namespace {

using Counts = std::array<int32_t, kMediaQueryCount>;

// Runs the project's workload generator; its last line holds the nine
// expected counts in row order.
Counts generate(const QString& dir, int files, int seed)
{
    QProcess gen;
    gen.start(QStringLiteral("python3"),
              {QStringLiteral(WELVANE_SOURCE_DIR "/bench/workloads/gen_media.py"),
               QString::number(files), dir, QStringLiteral("--seed"), QString::number(seed)});
    EXPECT_TRUE(gen.waitForFinished(60000));
    EXPECT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().constData();
    const QList<QByteArray> lines = gen.readAllStandardOutput().trimmed().split('\n');
    const QList<QByteArray> pairs = lines.last().split(' ');
    Counts expected{};
    EXPECT_EQ(pairs.size(), kMediaQueryCount);
    for (int i = 0; i < kMediaQueryCount && i < pairs.size(); ++i)
        expected[i] = pairs[i].split('=').value(1).toInt();
    return expected;
}

QByteArray syncsafe(qsizetype n)
{
    const char bytes[4] = {char((n >> 21) & 0x7f), char((n >> 14) & 0x7f), char((n >> 7) & 0x7f),
                           char(n & 0x7f)};
    return QByteArray(bytes, 4);
}

// An ID3v2.4 tag of UTF-8 text frames (given as raw bytes, so tests can hand
// it bytes that are not UTF-8).
QByteArray id3(const std::vector<std::pair<const char*, QByteArray>>& frames)
{
    QByteArray body;
    for (const auto& [id, value] : frames) {
        const QByteArray text = QByteArray(1, '\x03') + value;
        body += QByteArray(id) + syncsafe(text.size()) + QByteArray(2, '\0') + text;
    }
    return QByteArray("ID3\x04\0\0", 6) + syncsafe(body.size()) + body;
}

// An MP3 file of a generated library.
QString anEpisode(const QString& library)
{
    QDirIterator it(library + QStringLiteral("/Podcasts"), {QStringLiteral("*.mp3")}, QDir::Files,
                    QDirIterator::Subdirectories);
    return it.next();
}

// The MPEG frames of a generated file, without its tag.
QByteArray mpegFrames(const QString& library)
{
    QFile mp3(anEpisode(library));
    EXPECT_TRUE(mp3.open(QIODevice::ReadOnly));
    const QByteArray all = mp3.readAll();
    const auto b = [&](int i) { return static_cast<unsigned char>(all.at(i)); };
    return all.mid(10 + (b(6) << 21 | b(7) << 14 | b(8) << 7 | b(9)));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class MediaLibraryTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString music = tmp.filePath(QStringLiteral("Music-root"));
    const QString cache = QFile::decodeName(TagLibMediaLibrary::standardCachePath().c_str());
    TagLibMediaLibrary library{TagLibMediaLibrary::standardCachePath()};

    // The nine counts, which must come in row order; none when stopped.
    std::optional<Counts> count(std::stop_token stop = {})
    {
        Counts counts;
        int next = 0;
        const bool done = library.countAll(QFile::encodeName(music).toStdString(), stop,
                                           [&](MediaQuery q, int32_t n) {
                                               EXPECT_EQ(static_cast<int>(q), next++);
                                               counts[static_cast<int>(q)] = n;
                                           });
        return done ? std::optional(counts) : std::nullopt;
    }
};

} // namespace

TEST_F(MediaLibraryTest, CountsGeneratedLibrariesColdThenFromTheCache)
{
    for (const auto& [files, seed] : {std::pair{120, 2}, std::pair{300, 5}}) {
        music = tmp.filePath(QStringLiteral("lib-%1").arg(seed));
        const Counts expected = generate(music, files, seed);
        EXPECT_EQ(count(), expected) << files << " files, seed " << seed;
        EXPECT_EQ(library.lastScan().opened, files);
        // The first library's rows leave the cache when the folder changes.
        EXPECT_EQ(library.lastScan().removed, seed == 2 ? 0 : 120);

        EXPECT_EQ(count(), expected) << "warm, seed " << seed;
        EXPECT_EQ(library.lastScan().opened, 0);
        EXPECT_EQ(library.lastScan().cached, files);
    }
}

TEST_F(MediaLibraryTest, RescansFollowAddedChangedRenamedAndDeletedFiles)
{
    const Counts base = generate(music, 60, 3);
    ASSERT_EQ(count(), base);
    const QByteArray audio = mpegFrames(music);
    const auto plus = [&base](std::initializer_list<std::pair<MediaQuery, int>> changes) {
        Counts c = base;
        for (const auto& [q, d] : changes)
            c[static_cast<int>(q)] += d;
        return c;
    };

    const QString added = music + QStringLiteral("/Music/Newcomer/Debut/01 Song.mp3");
    const std::vector<std::pair<const char*, QByteArray>> tags = {
        {"TPE1", "Newcomer"}, {"TALB", "Debut"}, {"TCON", "Zydeco"}, {"TCOM", "Writer"}};
    writeBytes(added, id3(tags) + audio);
    EXPECT_EQ(count(), plus({{MediaQuery::Songs, 1},
                             {MediaQuery::Albums, 1},
                             {MediaQuery::Artists, 1},
                             {MediaQuery::Composers, 1},
                             {MediaQuery::Genres, 1}}));
    EXPECT_EQ(library.lastScan().opened, 1);

    // Same size, new time: only the time tells the cache it changed.
    auto retagged = tags;
    retagged[2].second = "Podcast";
    writeBytes(added, id3(retagged) + audio);
    const struct timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(added).constData(), later, 0), 0);
    const Counts asPodcast = plus({{MediaQuery::Podcasts, 1}});
    EXPECT_EQ(count(), asPodcast);
    EXPECT_EQ(library.lastScan().opened, 1);

    const QString moved = music + QStringLiteral("/Podcasts/Elsewhere/01.mp3");
    QDir().mkpath(music + QStringLiteral("/Podcasts/Elsewhere"));
    ASSERT_TRUE(QFile::rename(added, moved));
    EXPECT_EQ(count(), asPodcast) << "a renamed file is counted once";
    EXPECT_EQ(library.lastScan().removed, 1);

    ASSERT_TRUE(QFile::remove(moved));
    ASSERT_TRUE(QFile::remove(music + QStringLiteral("/Playlists/playlist-001.m3u")));
    EXPECT_EQ(count(), plus({{MediaQuery::Playlists, -1}}));
    EXPECT_EQ(library.lastScan().opened, 0);
}

TEST_F(MediaLibraryTest, BrokenCacheFilesAreRebuiltFromTheFolder)
{
    const Counts expected = generate(music, 40, 4);
    ASSERT_EQ(count(), expected);
    const auto breakWith = [&](const char* how, const std::function<void()>& damage) {
        damage();
        EXPECT_EQ(count(), expected) << how;
        EXPECT_TRUE(library.lastScan().cacheRebuilt) << how;
        EXPECT_EQ(library.lastScan().opened, 40) << how << ": nothing trusted";
        EXPECT_EQ(count(), expected);
        EXPECT_EQ(library.lastScan().opened, 0) << how << ": the new cache serves";
    };
    breakWith("random bytes", [&] {
        QByteArray junk(8192, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char(i * 7919 % 251);
        writeBytes(cache, junk);
    });
    breakWith("cut in half", [&] {
        QFile f(cache);
        ASSERT_GT(f.size(), 8192);
        ASSERT_TRUE(f.resize(f.size() / 2));
    });
    breakWith("another schema", [&] {
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("python3"),
                              {QStringLiteral("-c"),
                               QStringLiteral("import sqlite3,sys; c=sqlite3.connect(sys.argv[1]);"
                                              "c.execute('PRAGMA user_version=7'); c.commit()"),
                               cache}),
            0);
    });
    // A cache that cannot be made at all only costs speed.
    QFile::remove(cache);
    ASSERT_TRUE(QDir().mkpath(cache)); // a folder where the file belongs
    EXPECT_EQ(count(), expected);
    EXPECT_EQ(count(), expected);
    EXPECT_EQ(library.lastScan().opened, 40);
}

TEST_F(MediaLibraryTest, BadFilesAreSkippedAndReadableOnesCounted)
{
    generate(tmp.filePath(QStringLiteral("source")), 12, 5);
    const QByteArray audio = mpegFrames(tmp.filePath(QStringLiteral("source")));
    const QString m = music + QStringLiteral("/Music");
    writeBytes(m + QStringLiteral("/empty.mp3"), {});
    QByteArray noise(4000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 2654435761u) >> 13);
    writeBytes(m + QStringLiteral("/noise.mp3"), noise);
    writeBytes(m + QStringLiteral("/cut-in-tag.mp3"),
               id3({{"TPE1", QByteArray(900, 'a')}}).left(60));
    writeBytes(m + QStringLiteral("/cut.flac"), QByteArray("fLaC\0\0\0\x22", 8));
    // Readable despite their tags: bytes that are not UTF-8, a NUL inside a value.
    writeBytes(m + QStringLiteral("/a/1.mp3"),
               id3({{"TPE1", "Bad \xff\xfe name"}, {"TCON", QByteArray("Jazz\0Junk", 9)}}) + audio);
    writeBytes(m + QStringLiteral("/a/2.mp3"), id3({{"TCON", "Jazz"}}) + audio);
    // A name that is not UTF-8, in a folder whose name is not either.
    const QByteArray odd = QFile::encodeName(m) + "/\xe9t\xe9";
    ASSERT_EQ(mkdir(odd.constData(), 0755), 0);
    writeBytes(m + QStringLiteral("/odd.mp3"), id3({{"TPE1", "Odd"}}) + audio);
    ASSERT_EQ(rename(QFile::encodeName(m + QStringLiteral("/odd.mp3")), odd + "/\xff.mp3"), 0);
    ASSERT_EQ(symlink("..", (odd + "/loop").constData()), 0);
    ASSERT_EQ(symlink("/nonexistent/x.mp3", (odd + "/dangling.mp3").constData()), 0);
    ASSERT_TRUE(QDir().mkpath(m + QStringLiteral("/locked")));
    writeBytes(m + QStringLiteral("/locked/x.mp3"), id3({}) + audio);
    chmod(QFile::encodeName(m + QStringLiteral("/locked")).constData(), 0);
    const bool root = geteuid() == 0; // root reads it all the same

    const std::optional<Counts> counts = count();
    chmod(QFile::encodeName(m + QStringLiteral("/locked")).constData(), 0755);
    ASSERT_TRUE(counts);
    EXPECT_EQ((*counts)[int(MediaQuery::Songs)], root ? 4 : 3);
    // TagLib reads text that is not UTF-8 as empty: only "Odd" is an artist.
    EXPECT_EQ((*counts)[int(MediaQuery::Artists)], 1);
    EXPECT_EQ((*counts)[int(MediaQuery::Genres)], 1) << "\"Jazz\" with and without the NUL";

    // Qt cannot remove names that are not UTF-8.
    for (const char* name : {"/\xff.mp3", "/loop", "/dangling.mp3"})
        unlink((odd + name).constData());
    rmdir(odd.constData());

    music = tmp.filePath(QStringLiteral("does-not-exist"));
    EXPECT_EQ(count(), Counts{}) << "a missing folder is an empty library";
}

TEST_F(MediaLibraryTest, AStoppedCountReportsNothingAndKeepsTheTagsItRead)
{
    const Counts expected = generate(music, 30, 6);
    std::stop_source before;
    before.request_stop();
    EXPECT_EQ(count(before.get_token()), std::nullopt);

    // Copies enough for several batches of cache rows; stop once the first
    // batch is written, while later files are still being read.
    const QString copies = music + QStringLiteral("/Copies");
    QDir().mkpath(copies);
    const int extra = 3 * MediaCache::kBatch;
    const QByteArray original = QFile::encodeName(anEpisode(music));
    for (int i = 0; i < extra; ++i)
        ASSERT_EQ(link(original, QFile::encodeName(copies + QStringLiteral("/%1.mp3").arg(i))), 0);
    const QString wal = cache + QStringLiteral("-wal");
    std::stop_source stop;
    std::optional<Counts> result;
    std::atomic_bool done{false};
    std::thread scan([&] {
        result = count(stop.get_token());
        done = true;
    });
    // The new cache's schema alone is a few pages; a batch of rows is more.
    while (!done && QFileInfo(wal).size() < 64 * 1024)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    stop.request_stop();
    scan.join();
    ASSERT_EQ(result, std::nullopt) << "the stop is seen at the next file, long before the end";

    EXPECT_EQ(count(), expected) << "the copies are episodes of a show already counted";
    EXPECT_GE(library.lastScan().cached, MediaCache::kBatch) << "the first batch was kept";
    EXPECT_LT(library.lastScan().opened, 30 + extra) << "and not read again";
}
