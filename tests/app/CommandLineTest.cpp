#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {
CommandLine parse(QStringList args)
{
    args.prepend(QStringLiteral("welvane"));
    return CommandLine::parse(args);
}
} // namespace

TEST(CommandLine, NoArgumentsOpensTheWindow)
{
    const CommandLine cl = parse({});
    EXPECT_EQ(cl.mode, CommandLine::Mode::Window);
    EXPECT_TRUE(cl.error.isEmpty());
    EXPECT_FALSE(cl.layout.has_value());
    EXPECT_FALSE(cl.demo);
}

TEST(CommandLine, ScreenshotTakesAPageAndAFile)
{
    const CommandLine cl =
        parse({"--screenshot", "routes", "out.png", "--layout", "small", "--demo"});
    EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
    EXPECT_EQ(cl.mode, CommandLine::Mode::Screenshot);
    EXPECT_EQ(cl.page, QStringLiteral("routes"));
    EXPECT_EQ(cl.file, QStringLiteral("out.png"));
    EXPECT_EQ(cl.layout, CommandLine::Layout::Small);
    EXPECT_TRUE(cl.demo);
}

TEST(CommandLine, EveryPageNameIsAccepted)
{
    for (const char* page : {"overview", "worktime", "files", "connections", "routes", "memory",
                             "processes", "details", "log", "about", "alarm"}) {
        const CommandLine cl = parse({"--dump", page});
        EXPECT_TRUE(cl.error.isEmpty()) << page;
        EXPECT_EQ(cl.page, QString::fromLatin1(page));
    }
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

TEST(CommandLine, QtPlatformOptionsPassThrough)
{
    const CommandLine cl = parse({"-platform", "offscreen", "--dump", "about"});
    EXPECT_TRUE(cl.error.isEmpty());
    EXPECT_TRUE(cl.platformGiven);
    EXPECT_EQ(cl.qtArguments, (QStringList{"welvane", "-platform", "offscreen"}));
}

TEST(CommandLine, HelpNamesEveryOptionAndWhereSettingsLive)
{
    const QString help = CommandLine::helpText();
    for (const char* word : {"--layout", "--demo", "--screenshot", "--dump", "--report", "--help",
                             "--version", "welvane.conf", "overview, worktime"})
        EXPECT_TRUE(help.contains(QLatin1String(word))) << word;
}
