#include "app/CommandLine.h"
#include "app/Application.h"
#include "app/PlatformPlugins.h"

#include <gtest/gtest.h>

namespace {
CommandLine parse(QStringList args)
{
    args.prepend(QStringLiteral("welvane"));
    return CommandLine::parse(args);
}
} // namespace

TEST(CommandLine, OptionsCombineWithOneAction)
{
    const CommandLine cl =
        parse({"--verbose", "--screenshot", "routes", "out.png", "--layout", "small", "--demo"});
    EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
    EXPECT_EQ(cl.mode, CommandLine::Mode::Screenshot);
    EXPECT_EQ(cl.page, QStringLiteral("routes"));
    EXPECT_EQ(cl.file, QStringLiteral("out.png"));
    EXPECT_EQ(cl.fileArgument, 4); // argv[4], counting the program name
    EXPECT_EQ(cl.layout, CommandLine::Layout::Small);
    EXPECT_TRUE(cl.demo);
    EXPECT_TRUE(cl.verbose);

    const CommandLine qt = parse({"-platform", "offscreen", "--dump", "about"});
    EXPECT_TRUE(qt.error.isEmpty());
    EXPECT_TRUE(qt.platformGiven);
    EXPECT_EQ(qt.qtArguments, (QStringList{"welvane", "-platform", "offscreen"}));
}

TEST(CommandLine, BadInputGivesOneClearError)
{
    const std::vector<std::pair<QStringList, QString>> cases{
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"--dump", "kitchen"}, "unknown page 'kitchen'"},
        {{"--dump"}, "--dump needs a page"},
        {{"--screenshot", "overview"}, "--screenshot needs a file name after the page"},
        {{"--layout", "huge"}, "unknown layout 'huge'"},
        {{"--layout"}, "--layout needs small or large"},
        {{"--dump", "overview", "--report"}, "--report cannot be combined with another action"},
    };
    for (const auto& [args, start] : cases) {
        const CommandLine cl = parse(args);
        EXPECT_TRUE(cl.error.startsWith(start))
            << args.join(' ').toStdString() << " -> " << cl.error.toStdString();
        EXPECT_FALSE(cl.error.contains('\n'));
    }
}

TEST(CommandLine, ReportTextIsEscapedForTheTerminal)
{
    const QString raw = QStringLiteral("host\x1b]0;title\x07\tname\nnext\r\x7f") + QChar(0x85) +
                        QStringLiteral("\u00e9");
    EXPECT_EQ(Application::escapeControls(raw),
              QStringLiteral("host\\x1B]0;title\\x07\tname\nnext\\x0D\\x7F\\x85\u00e9"));
}

TEST(CommandLine, PlatformNamesAreCheckedAgainstTheInstalledPlugins)
{
    const QStringList keys = PlatformPlugins::available();
    EXPECT_TRUE(keys.contains(QStringLiteral("offscreen"))) << keys.join(' ').toStdString();
    EXPECT_TRUE(PlatformPlugins::accepts(QStringLiteral("OffScreen:fontengine=freetype"), keys));
    EXPECT_TRUE(PlatformPlugins::accepts(QStringLiteral("bogus;offscreen"), keys));
    EXPECT_FALSE(PlatformPlugins::accepts(QStringLiteral("bogus"), keys));
    EXPECT_FALSE(PlatformPlugins::accepts(QString(), keys));
    // No plugin folder found: Qt decides.
    EXPECT_TRUE(PlatformPlugins::accepts(QStringLiteral("bogus"), {}));
}
