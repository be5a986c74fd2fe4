#include "screens/details/DetailsTableController.h"

#include "drawing/OnOffView.h"
#include "host/HostFixtures.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/sysfs/LinuxHardwareProbe.h"
#include "host/system/LinuxDeviceIdentity.h"
#include "host/system/MailtoUrl.h"
#include "screens/details/DetailsCells.h"
#include "screens/log/LogTableController.h"
#include "screens/ScreenFakes.h"
#include "stats/DeviceReport.h"
#include "stats/LogStats.h"
#include "stats/StaticStats.h"
#include "ui/AlertView.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QUrl>

using namespace screenfakes;

namespace {

struct OddIdentity : fakes::Identity {
    std::string name() override { return "Zoë’s Gerät & co?"; }
};

// The Details page over a StaticStats of the given host services.
struct DetailsRig {
    IdiomScope idiom;
    FakeMailer mailer;
    LogTableController log{{LogStats::instance()}}; // only pushed, never shown here
    std::unique_ptr<StaticStats> stats;
    std::unique_ptr<DetailsTableController> page;
    std::unique_ptr<ui::NavigationController> nav;

    DetailsRig(ui::UserInterfaceIdiom i, const StaticStats::Host& host) : idiom(i)
    {
        stats = std::make_unique<StaticStats>(host);
        page = std::make_unique<DetailsTableController>(
            DetailsTableController::Host{*stats, mailer}, log);
        nav = std::make_unique<ui::NavigationController>(page.get());
        nav->view()->resize(i == ui::UserInterfaceIdiom::Pad ? 704 : 320, 2000);
        nav->view()->show();
        nav->beginAppearance(false); // the page appears, so it reloads
        nav->endAppearance(false);
    }
    ui::TableView* table() { return page->tableView(); }
    ui::TableViewCell* cell(int s, int r) { return table()->cellForRowAtIndexPath({s, r}); }
    QString title(int s, int r)
    {
        if (auto* t = qobject_cast<QLabel*>(cell(s, r)->viewWithTag(DetailsCells::kTagTitle)))
            return t->text();
        return cell(s, r)->textLabel()->text();
    }
    QString value(int s, int r)
    {
        for (int tag : {DetailsCells::kTagValue, DetailsCells::kTagText})
            if (auto* l = qobject_cast<QLabel*>(cell(s, r)->viewWithTag(tag)))
                return l->text();
        return {};
    }
    QString last(int s) { return title(s, table()->numberOfRowsInSection(s) - 1); }
};

// "- label: value " lines of the report, by lower-case label.
QMap<QString, QString> reportLines(const QString& report)
{
    QMap<QString, QString> lines;
    for (const QString& line : report.split('\n'))
        if (line.startsWith("- "))
            lines[line.mid(2).section(": ", 0, 0).toLower()] = line.section(": ", 1).trimmed();
    return lines;
}

} // namespace

TEST(DetailsPage, SectionEndsFollowTheScreenClassAndTheCarrier)
{
    Machine m;
    DetailsRig small(ui::UserInterfaceIdiom::Phone, m.host());
    EXPECT_EQ(small.last(0), "System Log");
    EXPECT_EQ(small.last(3), "GPS");
    for (int s = 0; s < 4; ++s)
        for (int r = 0; r < small.table()->numberOfRowsInSection(s); ++r)
            EXPECT_EQ(small.page->willSelectRowAtIndexPath(nullptr, {s, r}).has_value(),
                      s == 0 && r == 5)
                << s << "," << r;
    small.table()->tapRowAtIndexPath({0, 5});
    EXPECT_EQ(small.nav->topViewController(), &small.log);
    small.nav->popViewControllerAnimated(false); // back: the row is not left chosen
    EXPECT_FALSE(small.table()->indexPathForSelectedRow());

    DetailsRig large(ui::UserInterfaceIdiom::Pad, m.host());
    EXPECT_EQ(large.last(0), "Kernel Build");
    EXPECT_EQ(large.last(3), "Phone");
    EXPECT_EQ(large.table()->numberOfRowsInSection(2), 11);
    m.probe.facts.has3g = true;
    DetailsRig carrier(ui::UserInterfaceIdiom::Pad, m.host());
    EXPECT_EQ(carrier.last(3), "GPS");
}

TEST(DetailsPage, MissingCameraCacheAndFrequencyTexts)
{
    Machine m;
    m.probe.facts.rear_camera = false;
    m.probe.facts.rear_camera_resolution = "5 MP"; // on record, but no camera
    m.probe.facts.front_camera = true;
    m.probe.facts.front_camera_resolution = "0.9 MP";
    m.kernel.cache.l2 = 524288;
    m.kernel.hz = 999999;
    DetailsRig rig(ui::UserInterfaceIdiom::Phone, m.host());
    EXPECT_EQ(rig.value(3, 4), "No");
    for (int row : {4, 5}) // rear camera off, front camera on
        EXPECT_EQ(qobject_cast<OnOffView*>(rig.cell(3, row)->viewWithTag(DetailsCells::kTagLamp))
                      ->color(),
                  row - 4);
    EXPECT_EQ(rig.value(2, 8), "512 KB");
    EXPECT_EQ(rig.value(2, 3), "0 MHz");
    EXPECT_EQ(rig.value(2, 4), "N/A"); // no bus frequency on Linux
    rig.page->mailButton()->trigger();
    ASSERT_EQ(rig.mailer.sent.size(), 1);
    EXPECT_TRUE(rig.mailer.sent[0].body.contains("- rear camera: No \n- front camera: 0.9 MP \n"));
}

TEST(DetailsPage, DemoRowsShowDemoTextsWhileTheMailCarriesTheLiveOnes)
{
    Machine m;
    m.kernel.id->machine = "i386";
    DetailsRig rig(ui::UserInterfaceIdiom::Phone, m.host());
    ASSERT_TRUE(rig.stats->simulator());
    EXPECT_EQ(rig.value(1, 3), "Corvin's iPod");
    EXPECT_EQ(rig.title(1, 5), "UDID");
    EXPECT_EQ(rig.value(1, 5).size(), 42);
    EXPECT_EQ(rig.page->heightForRowAtIndexPath(nullptr, {1, 5}), 50);
    rig.page->exportReport();
    ASSERT_EQ(rig.mailer.sent.size(), 1);
    EXPECT_EQ(rig.mailer.sent[0].subject, "Welvane Device Info");
    EXPECT_TRUE(rig.mailer.sent[0].recipient.isEmpty());
    EXPECT_TRUE(rig.mailer.sent[0].body.contains("- name: Ana's box \n"));
}

TEST(DetailsPage, EveryRowMatchesTheReportOnACapturedMachine)
{
    LinuxKernelFacts kernel(machineRoot("laptop-one-battery"));
    LinuxDeviceIdentity identity(kernel, machineRoot("laptop-one-battery"));
    LinuxHardwareProbe probe(kernel, machineRoot("laptop-one-battery"),
                             [](const std::string&) { return std::nullopt; });
    fakes::FakeModem modem;
    DetailsRig rig(ui::UserInterfaceIdiom::Phone, {kernel, identity, probe, modem});
    const QMap<QString, QString> report = reportLines(DeviceReport::text(*rig.stats));
    int compared = 0;
    for (int s = 0; s < 4; ++s)
        for (int r = 0; r < rig.table()->numberOfRowsInSection(s); ++r) {
            const QString key = rig.title(s, r).toLower();
            if (!report.contains(key))
                continue;
            ++compared;
            EXPECT_EQ(rig.value(s, r), report[key]) << key.toStdString();
        }
    EXPECT_EQ(compared, 39); // all but "System Log" and "GPS"
}

TEST(DetailsPage, MailNeedsAHandlerAndSaysWhyItFailed)
{
    Machine m;
    DetailsRig rig(ui::UserInterfaceIdiom::Phone, m.host());
    EXPECT_EQ(rig.page->navigationItem()->rightBarButtonItem()->title(), "Mail");
    rig.mailer.canSend = false;
    rig.page->exportReport();
    ASSERT_NE(rig.page->alert(), nullptr);
    EXPECT_EQ(rig.page->alert()->title(), "No Email Account Found");
    EXPECT_EQ(rig.page->alert()->message(), "An email account has to be configured in system "
                                            "settings to send system information by email.");
    EXPECT_EQ(rig.page->alert()->buttonTitles(), QStringList{"OK"});
    EXPECT_TRUE(rig.mailer.sent.isEmpty());
    rig.page->alert()->dismissWithClickedButtonIndex(0);

    rig.mailer.canSend = true;
    rig.mailer.failure = "The mail program could not open the message (exit status 3).";
    rig.page->exportReport();
    ASSERT_NE(rig.page->alert(), nullptr);
    EXPECT_EQ(rig.page->alert()->message(), *rig.mailer.failure);
}

TEST(DetailsPage, ACraftedHostNameArrivesInTheMailUnchanged)
{
    Machine m;
    OddIdentity identity;
    m.kernel.id->hostname = "box&body=x%0A?#+";
    const QString report = DeviceReport::text(StaticStats({m.kernel, identity, m.probe, m.modem}));
    const QByteArray url = MailtoUrl::build({}, DeviceReport::kSubject, report);
    // What a mail program reads: the fields split on "?" and "&", then decoded.
    const QList<QByteArray> parts = url.mid(url.indexOf('?') + 1).split('&');
    ASSERT_EQ(parts.size(), 2);
    ASSERT_TRUE(parts[1].startsWith("body="));
    EXPECT_EQ(QUrl::fromPercentEncoding(parts[1].mid(5)).replace("\r\n", "\n"), report);
    EXPECT_TRUE(report.contains(QString::fromUtf8("- name: Zoë’s Gerät & co? \n")));
}
