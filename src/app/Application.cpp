#include "app/Application.h"

#include "app/AppLog.h"
#include "app/CommandLine.h"
#include "app/PlatformPlugins.h"
#include "app/StallProbe.h"
#include "host/dbus/ProbedBus.h"
#include "host/DemoMode.h"
#include "host/DisplayFacts.h"
#include "host/settings/Defaults.h"
#include "shell/ForegroundWatcher.h"
#include "shell/MainWindowDescription.h"
#include "shell/PageNavigator.h"
#include "shell/StatusAppDelegate.h"
#include "stats/DeviceReport.h"
#include "ui/Device.h"
#include "ui/TableViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

void settle(int ms)
{
    // Let queued work (the page list's first-row selection, layouts, the
    // first refresh) run before we look at the window.
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    } while (t.elapsed() < ms);
}

// A page that gathers its rows in the background says so through its
// "loading" property; a picture or a dump waits for the rows (bounded).
void settleLoading(const QObject* page)
{
    QElapsedTimer t;
    t.start();
    while (page->property("loading").toBool() && t.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

bool haveDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

// Qt's chatter that says nothing to a user of welvane (the off-screen
// platform's limits, a missing runtime folder) is dropped; the rest passes.
void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const char* const kNoise[] = {"propagateSizeHints", "XDG_RUNTIME_DIR",
                                         "QFont::setPointSize"};
    for (const char* noise : kNoise)
        if (message.contains(QLatin1String(noise)))
            return;
    const QByteArray text = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
}

void print(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

// The hardware facts want the primary screen; the host cannot ask Qt's GUI
// layer itself, so we measure it here before the facts are first collected.
static void recordDisplay()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    const QSize px = screen->size() * screen->devicePixelRatio();
    DisplayFacts::set({px.width(), px.height(), screen->physicalDotsPerInch()});
}

bool Application::chooseLargeLayout(const CommandLine& commandLine)
{
    if (commandLine.layout)
        return *commandLine.layout == CommandLine::Layout::Large;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QSize s = screen->availableSize();
    return std::min(s.width(), s.height()) >= 600;
}

void Application::launch(MainWindowDescription& graph, StatusAppDelegate::Launch kind)
{
    if (ui::Device::isPad())
        graph.window->resize(1024, 768);
    else
        graph.window->resize(320, 480);
    graph.appDelegate->applicationDidFinishLaunching(kind);
}

QString Application::dumpPage(MainWindowDescription& graph, const QString& page)
{
    ui::ViewController* shown = PageNavigator::show(graph, page);
    settle(50);
    if (!shown)
        return {};
    settleLoading(shown);
    QString out = QStringLiteral("# ") + shown->title() + QLatin1Char('\n');
    if (auto* table = qobject_cast<ui::TableViewController*>(shown))
        out += table->tableView()->dumpText();
    return out;
}

bool Application::screenshotPage(MainWindowDescription& graph, const QString& page,
                                 const QByteArray& nativeFile)
{
    ui::ViewController* shown = PageNavigator::show(graph, page);
    if (!shown)
        return false;
    settleLoading(shown);
    settle(150);
    const QPixmap picture = graph.window->grab();
    if (picture.isNull())
        return false;
    // Opened by its bytes: a name that is not valid text in the locale
    // would otherwise become a different name.
    const int fd = ::open(nativeFile.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    QFile out;
    if (fd < 0 || !out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    return picture.save(&out, "PNG") && out.flush();
}

QString Application::escapeControls(const QString& text)
{
    // Control characters from the machine (a pretty host name) must not
    // reach the terminal as escape sequences; the report's own tabs and
    // line ends stay.
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || !(u < 0x20 || (u >= 0x7f && u <= 0x9f)))
            out += c;
        else
            out += QStringLiteral("\\x") +
                   QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return out;
}

int Application::run(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QFile::decodeName(argv[i]);
    CommandLine cl = CommandLine::parse(args);
    if (!cl.error.isEmpty()) {
        print(stderr, QStringLiteral("welvane: %1 (see welvane --help)\n").arg(cl.error));
        return 2;
    }
    if (cl.mode == CommandLine::Mode::Help) {
        print(stdout, CommandLine::helpText());
        return 0;
    }
    if (cl.mode == CommandLine::Mode::Version) {
        print(stdout, CommandLine::versionText());
        return 0;
    }
    // Our debug messages are off unless asked for; QT_LOGGING_RULES is
    // applied after these rules, so it still decides.
    QLoggingCategory::setFilterRules(cl.verbose ? QStringLiteral("welvane.*.debug=true")
                                                : QStringLiteral("welvane.*.debug=false"));

    const bool offscreenWork = cl.mode == CommandLine::Mode::Screenshot ||
                               cl.mode == CommandLine::Mode::Dump ||
                               cl.mode == CommandLine::Mode::Report;
    if (cl.mode == CommandLine::Mode::Window && !cl.platformGiven && !haveDisplay()) {
        print(stderr, QStringLiteral("welvane: no display (DISPLAY and WAYLAND_DISPLAY are unset); "
                                     "printing the Overview instead\n"));
        cl.mode = CommandLine::Mode::Dump;
        cl.page = QStringLiteral("overview");
    }
    // Pictures and dumps never need a window system; the report only wants
    // the real screen's size when there is one.
    const bool needsScreen = cl.mode == CommandLine::Mode::Report && haveDisplay();
    if ((offscreenWork || cl.mode == CommandLine::Mode::Dump) && !needsScreen && !cl.platformGiven)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Qt aborts on a platform it has no plugin for; say so in one line.
    const qsizetype platformAt = cl.qtArguments.indexOf(QStringLiteral("-platform"));
    const QString platform = platformAt >= 0 && platformAt + 1 < cl.qtArguments.size()
                                 ? cl.qtArguments[platformAt + 1]
                                 : qEnvironmentVariable("QT_QPA_PLATFORM");
    const QStringList plugins =
        platformAt >= 0 || !platform.isEmpty() ? PlatformPlugins::available() : QStringList();
    if (!PlatformPlugins::accepts(platform, plugins)) {
        print(stderr, QStringLiteral("welvane: no Qt platform plugin %1 (available: %2)\n")
                          .arg(escapeControls(QStringLiteral("'") + platform + QLatin1Char('\'')),
                               plugins.join(QStringLiteral(", "))));
        return 2;
    }

    int qtArgc = static_cast<int>(cl.qtArguments.size());
    std::vector<QByteArray> storage;
    std::vector<char*> qtArgv;
    for (const QString& a : cl.qtArguments)
        storage.push_back(QFile::encodeName(a));
    for (QByteArray& b : storage)
        qtArgv.push_back(b.data());
    qtArgv.push_back(nullptr);

    qInstallMessageHandler(filterMessages);
    // A real window system brings Qt's own session-bus users, which would
    // hang on a silent bus; off screen there are none.
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        ProbedBus::screenSessionBusForQt();
    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("welvane"));
    QApplication::setOrganizationName(QStringLiteral("welvane"));
    QApplication::setApplicationVersion(QStringLiteral(WELVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("welvane"));

    DemoMode::setEnabled(cl.demo);
    qCDebug(lcApp) << "platform" << QGuiApplication::platformName() << "settings"
                   << Defaults::standardPath() << (cl.demo ? "demo" : "live");
    recordDisplay();
    if (cl.mode == CommandLine::Mode::Report) {
        print(stdout, escapeControls(DeviceReport::text()));
        return 0;
    }

    ui::Device::setUserInterfaceIdiom(chooseLargeLayout(cl) ? ui::UserInterfaceIdiom::Pad
                                                            : ui::UserInterfaceIdiom::Phone);

    if (cl.mode == CommandLine::Mode::Window)
        StallProbe::installFromEnvironment(); // before the first paint it waits for
    std::unique_ptr<MainWindowDescription> graph = MainWindowDescription::load();
    launch(*graph, cl.mode == CommandLine::Mode::Window ? StatusAppDelegate::Launch::User
                                                        : StatusAppDelegate::Launch::Tool);
    settle(20);

    switch (cl.mode) {
    case CommandLine::Mode::Dump:
        print(stdout, dumpPage(*graph, cl.page));
        return 0;
    case CommandLine::Mode::Screenshot:
        if (!screenshotPage(*graph, cl.page, QByteArray(argv[cl.fileArgument]))) {
            print(stderr,
                  QStringLiteral("welvane: could not write %1\n").arg(escapeControls(cl.file)));
            return 1;
        }
        return 0;
    default:
        break;
    }
    ForegroundWatcher watcher(graph->appDelegate, graph->window);
    return app.exec();
}
