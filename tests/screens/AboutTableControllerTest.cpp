#include "screens/about/AboutTableController.h"

#include "AddressServer.h"
#include "host/system/MailtoUrl.h"
#include "host/UrlOpener.h"
#include "screens/about/HelpWindow.h"
#include "screens/about/VideoPageFetch.h"
#include "screens/ScreenFakes.h"
#include "stats/StaticStats.h"
#include "support/TestSupport.h"
#include "ui/TableViewCell.h"

#include <BuildStamp.h>

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace screenfakes;
using namespace std::chrono_literals;

namespace {

struct FakeOpener : UrlOpener {
    QList<QUrl> opened;
    void openURL(const QUrl& url) override { opened << url; }
};

// The About page of an x86_64 machine on Debian 12, on the small layout,
// with a mailer, browser and rating prompt that record what they are asked.
struct AboutRig {
    IdiomScope idiom{ui::UserInterfaceIdiom::Phone};
    Machine machine;
    std::unique_ptr<StaticStats> stats;
    FakeMailer mailer;
    FakeOpener opener;
    int reviews = 0;
    std::unique_ptr<AboutTableController> page;

    explicit AboutRig(bool cellular = false, QUrl videoPage = {})
    {
        machine.probe.facts.has3g = cellular;
        stats = std::make_unique<StaticStats>(machine.host());
        AboutTableController::Host host{*stats, mailer, opener, [this] { ++reviews; },
                                        QStringLiteral(WELVANE_BUILD_HELP_PAGE)};
        if (!videoPage.isEmpty())
            host.videoPage = videoPage;
        page = std::make_unique<AboutTableController>(host);
        page->view()->resize(320, 700);
        page->view()->show();
        page->viewWillAppear(false);
    }
    ui::TableView* table() { return page->tableView(); }
    void tap(int section, int row) { table()->tapRowAtIndexPath({section, row}); }
    std::optional<ui::IndexPath> selected() { return table()->indexPathForSelectedRow(); }
    void choose(int button) { page->alert()->dismissWithClickedButtonIndex(button); }
};

} // namespace

TEST(AboutPage, OnlyLinksAndTheReviewRowAreSelectable)
{
    AboutRig rig;
    for (int row = 0; row < AboutTableController::kInformationRows - 1; ++row) {
        rig.tap(1, row);
        EXPECT_FALSE(rig.selected()) << "information row " << row;
    }
    EXPECT_EQ(rig.reviews, 0);
    rig.tap(1, 5);
    EXPECT_EQ(rig.selected(), (ui::IndexPath{1, 5}));
    EXPECT_EQ(rig.reviews, 1);

    rig.tap(0, 2);
    rig.tap(0, 3);
    EXPECT_EQ(rig.opener.opened, (QList<QUrl>{QUrl("http://welvane.github.io/"),
                                              QUrl("https://www.facebook.com/welvane.app")}));
    EXPECT_EQ(rig.selected(), (ui::IndexPath{0, 3}));
    rig.page->viewWillAppear(false); // coming back clears it
    EXPECT_FALSE(rig.selected());
}

TEST(AboutPage, FeedbackAsksAboutTheFaqThenMailsTheMachinesFacts)
{
    AboutRig rig;
    rig.tap(0, 1);
    ASSERT_TRUE(rig.page->alert() && rig.page->alert()->isVisible());
    EXPECT_EQ(rig.page->alert()->title(), QStringLiteral("Read the FAQ first!"));
    EXPECT_EQ(rig.page->alert()->buttonTitles(),
              (QStringList{"Cancel", "Provide Feedback", "Read the FAQ"}));
    rig.choose(1);
    ASSERT_EQ(rig.mailer.sent.size(), 1);
    const Mailer::Message& mail = rig.mailer.sent[0];
    EXPECT_EQ(mail.recipient,
              rig.table()->cellForRowAtIndexPath({0, 1})->detailTextLabel()->text());
    EXPECT_EQ(mail.subject, QStringLiteral("Welvane Feedback"));
    // Without a modem the device line ends in the identifier and one space.
    EXPECT_EQ(mail.body,
              QStringLiteral("System Information:\n- device: x86_64 \n- OS version: 12\n\n"
                             "Bug report / Feature suggestion:\n\n"));
    // What the mail program is handed.
    EXPECT_EQ(
        MailtoUrl::build(mail.recipient, mail.subject, mail.body),
        QByteArray("mailto:hi@welvane.org?subject=Welvane%20Feedback&body=System%20"
                   "Information%3A%0D%0A-%20device%3A%20x86_64%20%0D%0A-%20OS%20version%3A"
                   "%2012%0D%0A%0D%0ABug%20report%20%2F%20Feature%20suggestion%3A%0D%0A%0D%0A"));
    EXPECT_FALSE(rig.selected());

    // Cancelled, the question leaves nothing behind.
    rig.tap(0, 1);
    rig.choose(0);
    EXPECT_FALSE(rig.selected());
    EXPECT_EQ(rig.mailer.sent.size(), 1);
    EXPECT_TRUE(rig.opener.opened.isEmpty());
    EXPECT_FALSE(rig.page->helpWindow());

    AboutRig cellular(true);
    cellular.tap(0, 1);
    cellular.choose(1);
    ASSERT_EQ(cellular.mailer.sent.size(), 1);
    EXPECT_TRUE(cellular.mailer.sent[0].body.contains("- device: x86_64 3G\n"));

    // Without a mail program the row stays chosen until the page returns.
    AboutRig noMail;
    noMail.mailer.canSend = false;
    noMail.tap(0, 1);
    ASSERT_TRUE(noMail.page->alert() && noMail.page->alert()->isVisible());
    EXPECT_EQ(noMail.page->alert()->title(), QStringLiteral("No Email Account Found"));
    EXPECT_EQ(noMail.page->alert()->buttonTitles(), QStringList{"OK"});
    noMail.choose(0);
    EXPECT_TRUE(noMail.mailer.sent.isEmpty());
    EXPECT_EQ(noMail.selected(), (ui::IndexPath{0, 1}));
    noMail.page->viewWillAppear(false);
    EXPECT_FALSE(noMail.selected());
}

TEST(AboutPage, HelpOpensOfflineAtTheTopOrAtTheFaq)
{
    AboutRig rig;
    rig.tap(0, 0); // "Documentation"
    HelpWindow* help = rig.page->helpWindow();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    QTextBrowser* browser = help->browser();
    EXPECT_EQ(browser->source().toLocalFile(), QStringLiteral(WELVANE_BUILD_HELP_PAGE));
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    // "Read the FAQ" in the same window: only the place in the page changes.
    rig.tap(0, 1);
    rig.choose(2);
    EXPECT_EQ(rig.page->helpWindow(), help);
    EXPECT_GT(browser->verticalScrollBar()->value(), 0); // the FAQ is below the first screen
    EXPECT_TRUE(rig.opener.opened.isEmpty());

    rig.tap(0, 0);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    // Without the file, the page on the web.
    AboutRig missing;
    AboutTableController page({*missing.stats, missing.mailer, missing.opener, {}, QString()});
    page.view();
    page.didSelectRowAtIndexPath(page.tableView(), {0, 0});
    EXPECT_EQ(missing.opener.opened,
              QList<QUrl>{QUrl("http://welvane.github.io/welvane/help.html")});
}

TEST(AboutPage, HelpPageIsFoundInTheBuildTreeAndWhereItIsInstalled)
{
    const QString built = HelpWindow::locate(QStringLiteral("/nonexistent/bin"));
    ASSERT_FALSE(built.isEmpty());
    QFile file(built);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("id=\"FAQ\""));

    QTemporaryDir prefix;
    ASSERT_EQ(QProcess::execute(QStringLiteral(WELVANE_CMAKE),
                                {"--install", QStringLiteral(WELVANE_BINARY_DIR), "--prefix",
                                 prefix.path(), "--component", "help"}),
              0);
    EXPECT_EQ(HelpWindow::locate(prefix.filePath("bin")),
              prefix.filePath("share/welvane/help.html"));
}

TEST(AboutPage, VideoFetchOpensOnlyAWebAddressAndNeverWaitsLong)
{
    AddressServer server;
    const QUrl fallback("https://youtu.be/fallbackVid");
    const auto fetch = [&](const QByteArray& answer, std::chrono::milliseconds timeout = 5s) {
        server.answer = [answer] { return answer; };
        VideoPageFetch video(fallback);
        video.setTimeout(timeout);
        QUrl opened;
        QObject::connect(&video, &VideoPageFetch::finished, [&](const QUrl& u) { opened = u; });
        EXPECT_TRUE(video.start(QUrl(server.base() + "/welvane/video.html")));
        EXPECT_TRUE(testsupport::waitUntil([&] { return !opened.isEmpty(); }, 10s));
        return opened;
    };
    EXPECT_EQ(fetch(AddressServer::ok("  https://videos.example/watch?v=42\r\n")),
              QUrl("https://videos.example/watch?v=42"));
    EXPECT_EQ(fetch(AddressServer::ok("javascript:alert(1)")), fallback);
    EXPECT_EQ(fetch(AddressServer::ok("file:///etc/passwd")), fallback);
    EXPECT_EQ(fetch(AddressServer::ok("")), fallback);
    EXPECT_EQ(fetch("HTTP/1.1 500 Oops\r\nContent-Length: 27\r\nConnection: close\r\n\r\n"
                    "https://videos.example/err\n"),
              fallback);
    // A body past the limit is refused even though it reads as one address.
    QByteArray huge = "https://videos.example/";
    huge += QByteArray(VideoPageFetch::kMaxBodyBytes * 64, 'a');
    EXPECT_EQ(fetch("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + huge), fallback);
    // A server that never answers: the fallback once the time-out passes.
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(fetch(QByteArray(), 300ms), fallback);
    EXPECT_LT(timer.elapsed(), 3000);
}

TEST(AboutPage, ASecondTapWhileTheVideoPageLoadsStartsNoSecondFetch)
{
    AddressServer server; // never answers
    AboutRig rig(false, QUrl(server.base() + "/welvane/video.html"));
    rig.page->videoFetch()->setTimeout(300ms);
    rig.tap(0, 4);
    rig.tap(0, 4);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !rig.opener.opened.isEmpty(); }, 5s));
    EXPECT_EQ(rig.page->videoFetch()->fetchCount(), 1);
    EXPECT_EQ(server.requests, 1);
    EXPECT_EQ(rig.opener.opened, QList<QUrl>{QUrl("https://youtu.be/welvaneTour")});
}
