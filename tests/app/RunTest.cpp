// The program as a user runs it: off-screen pictures and dumps, the report,
// and the errors for bad input.
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

// The test main has already pointed XDG_CONFIG_HOME at a folder of this test.
Result run(const QStringList& args,
           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(WELVANE_BINARY), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
// Runs the program with arguments given as raw bytes (QProcess can only pass
// text); returns the exit status.
int runRaw(std::vector<std::string> args)
{
    args.insert(args.begin(), WELVANE_BINARY);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(Run, BadInputExitsWithStatus2AndOneLineHelpWith0)
{
    for (const QStringList& args :
         {QStringList{"--nope"}, QStringList{"--screenshot", "overview"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("welvane: ")));
        EXPECT_TRUE(r.out.isEmpty());
    }
    const Result help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: welvane")));
}

TEST(Run, ScreenshotNameIsUsedByteForByte)
{
    QTemporaryDir dir;
    // Latin-1 "café.png": not valid UTF-8.
    const std::string name = QFile::encodeName(dir.path()).toStdString() + "/caf\xe9.png";
    ASSERT_EQ(runRaw({"--screenshot", "about", name, "--layout", "large"}), 0);
    QFile file;
    const int fd = open(name.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0) << "no file under the name given";
    ASSERT_TRUE(file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    EXPECT_EQ(QImage::fromData(file.readAll(), "PNG").size(), QSize(1024, 768)); // the window
    const auto entries = std::filesystem::directory_iterator(dir.path().toStdString());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1); // and no other file
}

TEST(Run, AnUnknownQtPlatformExitsWithStatus2AndOneLine)
{
    const Result given = run({"-platform", "bogus", "--dump", "about"});
    EXPECT_EQ(given.exitCode, 2);
    EXPECT_EQ(given.err.count('\n'), 1) << given.err.toStdString();
    EXPECT_TRUE(given.err.startsWith(QStringLiteral("welvane: no Qt platform plugin 'bogus'")));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("bogus"));
    const Result fromEnv = run({}, env);
    EXPECT_EQ(fromEnv.exitCode, 2);
    EXPECT_EQ(fromEnv.err.count('\n'), 1) << fromEnv.err.toStdString();

    EXPECT_EQ(run({"-platform", "offscreen", "--dump", "about"}).exitCode, 0);
}

TEST(Run, VerboseShowsTheDebugLogAndTheLoggingRulesStillDecide)
{
    const QString debugLine = QStringLiteral("welvane.app: platform");
    EXPECT_FALSE(run({"--dump", "about"}).err.contains(debugLine));
    EXPECT_TRUE(run({"--verbose", "--dump", "about"}).err.contains(debugLine));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("welvane.app.debug=false"));
    EXPECT_FALSE(run({"--verbose", "--dump", "about"}, env).err.contains(debugLine));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("welvane.*.debug=true"));
    EXPECT_TRUE(run({"--dump", "about"}, env).err.contains(debugLine));
}

TEST(Run, AnUnwritableScreenshotFailsClearly)
{
    const Result r = run({"--screenshot", "overview", "/nonexistent-dir/x.png"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("could not write /nonexistent-dir/x.png")));
}

TEST(Run, WithoutADisplayTheOverviewIsPrinted)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const Result r = run({}, env);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("no display")));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("# Overview\n")));
}

// What the report says is checked where it is made; here only that it is
// printed.
TEST(Run, ReportIsPrinted)
{
    const Result r = run({"--report"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("Hardware Features:"))) << r.out.toStdString();
}

// Looking is not changing: a page shown with --dump writes no settings, not
// the repaired value of an out-of-range key nor the launch bookkeeping.
TEST(Run, DumpingPagesLeavesTheSettingsFileAsItWas)
{
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/welvane");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray stored = "[General]\nkHealthKey=500\nkAlertType=2\n";
    QFile file(folder + QStringLiteral("/welvane.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(stored);
    file.close();
    for (const char* page : {"worktime", "alarm", "overview"})
        EXPECT_EQ(run({"--dump", page}).exitCode, 0) << page;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), stored);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"welvane.conf"});
}

// A list page is dumped once its snapshot, taken on the worker, is in: the
// program finds itself, just started, in the first group, its user's.
TEST(Run, ProcessesDumpWaitsForTheSnapshotAndListsTheProgramItself)
{
    const Result r = run({"--dump", "processes", "--layout", "small"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString me = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    EXPECT_TRUE(r.out.startsWith("# Processes\n== " + me + " user processes"))
        << r.out.toStdString();
    const qsizetype second = r.out.indexOf("\n== ", r.out.indexOf('\n') + 1);
    EXPECT_GT(r.out.indexOf("\nwelvane\tRuntime:\t0m "), 0) << r.out.toStdString();
    EXPECT_TRUE(second < 0 || r.out.indexOf("\nwelvane\tRuntime:\t0m ") < second);
}

// The log is read in the background: a dump waits for it, in both layouts,
// and the demonstration shows each severity once, newest first.
TEST(Run, DumpedSystemLogHoldsTheDemoRecords)
{
    for (const char* layout : {"small", "large"}) {
        const Result r = run({"--demo", "--layout", layout, "--dump", "log"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 9) << r.out.toStdString();
        EXPECT_EQ(lines[0], "# System Log");
        EXPECT_TRUE(lines[1].contains("\tDebug")) << lines[1].toStdString();
        EXPECT_TRUE(lines[8].contains("\tEmergency")) << lines[8].toStdString();
        EXPECT_TRUE(lines[8].contains("kernel [0]")) << lines[8].toStdString();
    }
}

// The dump of the files page waits for the counts of the music folder the
// settings name, and the second run answers the same from the cache.
TEST(Run, FilesDumpShowsTheCountsOfTheMusicFolder)
{
    QTemporaryDir tmp;
    const QString music = tmp.filePath(QStringLiteral("music"));
    QProcess gen;
    gen.start(QStringLiteral("python3"),
              {QStringLiteral(WELVANE_SOURCE_DIR "/bench/workloads/gen_media.py"),
               QStringLiteral("40"), music, QStringLiteral("--seed"), QStringLiteral("9")});
    ASSERT_TRUE(gen.waitForFinished(60000));
    QStringList expected{QStringLiteral("# File Statistics"), QStringLiteral("== File Statistics")};
    const QStringList names{"Songs",     "Albums", "Artists",   "Podcasts",    "Audiobooks",
                            "Composers", "Genres", "Playlists", "Compilations"};
    const QStringList counts = QString::fromUtf8(gen.readAllStandardOutput()).trimmed().split(' ');
    ASSERT_EQ(counts.size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        expected << names[i] + QLatin1Char('\t') + counts[i].section(QLatin1Char('='), 1);

    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/welvane");
    testsupport::writeFile(folder, QStringLiteral("welvane.conf"),
                           "[General]\nMusicFolder=" + QFile::encodeName(music) + "\n");
    for (const char* run_ : {"cold", "warm"}) {
        const Result r = run({"--dump", "files"});
        EXPECT_EQ(r.out.trimmed().split(QLatin1Char('\n')), expected) << run_;
    }
}
