#include "app/CommandLine.h"

#include "shell/PageNavigator.h"

namespace {
QString quoted(const QString& s)
{
    return QStringLiteral("'") + s + QStringLiteral("'");
}
} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine cl;
    cl.qtArguments << (arguments.isEmpty() ? QStringLiteral("welvane") : arguments.first());
    const auto fail = [&cl](const QString& message) {
        if (cl.error.isEmpty())
            cl.error = message;
    };
    const auto setMode = [&](Mode mode, const QString& option) {
        if (cl.mode != Mode::Window && cl.mode != mode)
            fail(QStringLiteral("%1 cannot be combined with another action").arg(option));
        cl.mode = mode;
    };
    const auto checkPage = [&](const QString& page) {
        if (!PageNavigator::isPageName(page))
            fail(QStringLiteral("unknown page %1 (pages: %2)")
                     .arg(quoted(page), PageNavigator::pageNames().join(QStringLiteral(", "))));
    };

    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto next = [&](const QString& what) -> QString {
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QStringLiteral("--"))) {
                fail(QStringLiteral("%1 needs %2").arg(a, what));
                return {};
            }
            return arguments[++i];
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            setMode(Mode::Help, a);
        } else if (a == QLatin1String("--version")) {
            setMode(Mode::Version, a);
        } else if (a == QLatin1String("--demo")) {
            cl.demo = true;
        } else if (a == QLatin1String("--verbose")) {
            cl.verbose = true;
        } else if (a == QLatin1String("--report")) {
            setMode(Mode::Report, a);
        } else if (a == QLatin1String("--layout")) {
            const QString v = next(QStringLiteral("small or large"));
            if (v == QLatin1String("small"))
                cl.layout = Layout::Small;
            else if (v == QLatin1String("large"))
                cl.layout = Layout::Large;
            else if (!v.isEmpty())
                fail(QStringLiteral("unknown layout %1 (use small or large)").arg(quoted(v)));
        } else if (a == QLatin1String("--screenshot")) {
            setMode(Mode::Screenshot, a);
            cl.page = next(QStringLiteral("a page and a file name"));
            if (!cl.page.isEmpty()) {
                checkPage(cl.page);
                cl.file = next(QStringLiteral("a file name after the page"));
                if (!cl.file.isEmpty())
                    cl.fileArgument = i;
            }
        } else if (a == QLatin1String("--dump")) {
            setMode(Mode::Dump, a);
            cl.page = next(QStringLiteral("a page"));
            if (!cl.page.isEmpty())
                checkPage(cl.page);
        } else if (a == QLatin1String("--serve-metrics")) {
            setMode(Mode::ServeMetrics, a);
            cl.metricsAddress = next(QStringLiteral("[ADDRESS:]PORT"));
        } else if (a == QLatin1String("--metrics-identity")) {
            cl.metricsIdentity = true;
        } else if (a == QLatin1String("-platform") || a == QLatin1String("-display")) {
            const QString v = next(QStringLiteral("a value"));
            cl.qtArguments << a << v;
            if (a == QLatin1String("-platform"))
                cl.platformGiven = true;
        } else {
            fail(QStringLiteral("unknown option %1").arg(quoted(a)));
        }
    }
    if (cl.metricsIdentity && cl.mode != Mode::ServeMetrics)
        fail(QStringLiteral("--metrics-identity needs --serve-metrics"));
    return cl;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
               "Usage: welvane [options]\n"
               "Shows, live, what this Linux device is doing and what it is made of.\n"
               "\n"
               "Options:\n"
               "  --layout small|large        force the screen class (default: large when the\n"
               "                              screen's shorter side is at least 600 pixels)\n"
               "  --demo                      show the fixed demonstration values\n"
               "  --screenshot PAGE FILE.png  show PAGE off screen, let it refresh once, save a\n"
               "                              picture and exit\n"
               "  --dump PAGE                 print PAGE's sections and rows as text and exit\n"
               "  --report                    print the device report and exit\n"
               "  --serve-metrics [ADDRESS:]PORT\n"
               "                              serve Prometheus metrics on GET /metrics (no\n"
               "                              window; address 127.0.0.1 unless given) until\n"
               "                              SIGTERM or SIGINT\n"
               "  --metrics-identity          also export the device ID and MAC addresses\n"
               "  --verbose                   log what each part of welvane does (the same as\n"
               "                              QT_LOGGING_RULES=\"welvane.*.debug=true\")\n"
               "  --help                      show this help and exit\n"
               "  --version                   show the version and exit\n"
               "  -platform NAME              Qt platform plugin (xcb, wayland, offscreen ...)\n"
               "\n"
               "Pages: %1\n"
               "\n"
               "Settings are kept in $XDG_CONFIG_HOME/welvane/welvane.conf\n"
               "(usually ~/.config/welvane/welvane.conf).\n")
        .arg(PageNavigator::pageNames().join(QStringLiteral(", ")));
}

QString CommandLine::versionText()
{
    return QStringLiteral("welvane %1\n").arg(QStringLiteral(WELVANE_VERSION));
}
