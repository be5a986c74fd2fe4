#include "host/netlink/LinuxRouteDump.h"
#include "host/netlink/LinuxSocketDump.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/processes/ProcessesTableController.h"
#include "screens/routes/RouteTableController.h"
#include "stats/NetnsScope.h"
#include "stats/ProcessFakes.h"
#include "support/IdiomScope.h"
#include "support/TestSupport.h"
#include "ui/NavigationItem.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>

using testsupport::IdiomScope;

namespace {

// A process table whose reading waits while the test holds the gate.
struct GatedProcesses : fakes::Processes {
    std::mutex gate;
    std::optional<std::vector<ProcessRecord>> processes() override
    {
        std::lock_guard lock(gate);
        return fakes::Processes::processes();
    }
};

// Shows the page as a container would and waits for its snapshot.
QString shown(ListScreenController& page)
{
    page.view()->resize(768, 600);
    page.beginAppearance(false);
    page.endAppearance(false);
    EXPECT_TRUE(testsupport::waitUntil([&] { return !page.isSnapshotPending(); }));
    return page.tableView()->dumpText();
}

// The dump line holding all the texts, or "".
QString lineWith(const QString& dump, const QStringList& texts)
{
    for (const QString& line : dump.split(QLatin1Char('\n'))) {
        bool all = true;
        for (const QString& t : texts)
            all = all && line.contains(t);
        if (all)
            return line;
    }
    return {};
}

struct ProcessRig {
    std::shared_ptr<GatedProcesses> table = std::make_shared<GatedProcesses>();
    std::shared_ptr<fakes::Users> users = std::make_shared<fakes::Users>();
    ProcessStats stats{table, users, 501, [] { return 1700000000.0; }};
    ProcessRig()
    {
        users->names = {{0, "root"}, {501, "mobile"}};
        table->add(512, 501, "Safari", 1700000000 - 61);
        table->add(40, 501, "sh");
        table->add(1, 0, "launchd");
        table->add(900, 77, "x");
        table->add(901, 77, "y");
        table->table->at(0).pgid = 511;
    }
};

} // namespace

TEST(ListScreens, ProcessesHeadersRowsPerLayoutAndNoSelection)
{
    for (bool large : {false, true}) {
        IdiomScope idiom(large ? ui::UserInterfaceIdiom::Pad : ui::UserInterfaceIdiom::Phone);
        ProcessRig rig;
        ProcessesTableController page(rig.stats);
        const QString dump = shown(page);
        if (!large) {
            EXPECT_TRUE(dump.startsWith("== mobile user processes (2)\n"
                                        "Safari\tRuntime:\t1m 1s\tPID:\t512\tPPID:\t0\t"
                                        "Priority:\t0\nsh\t"))
                << dump.toStdString();
            EXPECT_TRUE(dump.contains("\n== root user processes\nlaunchd\t")) << dump.toStdString();
            EXPECT_TRUE(dump.contains("\n==  user processes (2)\ny\t")) << dump.toStdString();
            EXPECT_FALSE(dump.contains("PGID")) << dump.toStdString();
            EXPECT_EQ(page.tableView()->rowHeight(), 50);
        } else {
            EXPECT_NE(lineWith(dump, {"Safari\t", "PGID:\t511\tUID:\t501"}), "")
                << dump.toStdString();
            EXPECT_EQ(page.tableView()->rowHeight(), 56);
        }
        EXPECT_TRUE(page.navigationItem()->hidesBackButton());
        page.tableView()->tapRowAtIndexPath({0, 0});
        EXPECT_FALSE(page.tableView()->indexPathForSelectedRow());
    }
}

TEST(ListScreens, OneSnapshotAtATimeRefreshButtonAndAFailedReadKeepsTheRows)
{
    ProcessRig rig;
    ProcessesTableController page(rig.stats);
    shown(page);
    EXPECT_EQ(rig.table->reads, 1);

    rig.table->gate.lock();
    rig.table->add(7000, 0, "new");
    page.refreshButton()->trigger();
    page.reloadData(); // shown again while the first runs: no second snapshot
    page.clickMe();
    EXPECT_TRUE(page.isSnapshotPending());
    EXPECT_FALSE(page.tableView()->dumpText().contains("new")); // old rows meanwhile
    rig.table->gate.unlock();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !page.isSnapshotPending(); }));
    rig.stats.waitForAsync();
    EXPECT_EQ(rig.table->reads, 2);
    EXPECT_TRUE(page.tableView()->dumpText().contains("new\t"));

    rig.table->table.reset(); // the table cannot be read
    page.clickMe();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !page.isSnapshotPending(); }));
    EXPECT_TRUE(page.tableView()->dumpText().contains("new\t"));
}

TEST(ListScreens, LoopbackSocketsOnTheConnectionsPage)
{
    IdiomScope idiom(ui::UserInterfaceIdiom::Phone);
    // A socket on 127.0.0.1 and its port; connect: to that port.
    const auto loopback = [](int type, int connect = 0) {
        const int fd = ::socket(AF_INET, type, 0);
        sockaddr_in a{AF_INET, htons(std::uint16_t(connect)), {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t len = sizeof a;
        auto* sa = reinterpret_cast<sockaddr*>(&a);
        EXPECT_EQ(connect ? ::connect(fd, sa, len) : ::bind(fd, sa, len), 0);
        if (type == SOCK_STREAM && !connect) {
            EXPECT_EQ(::listen(fd, 2), 0);
        }
        ::getsockname(fd, sa, &len);
        return std::pair{fd, QString::number(ntohs(a.sin_port))};
    };
    const auto [server, serverPort] = loopback(SOCK_STREAM);
    const auto [lonely, lonelyPort] = loopback(SOCK_STREAM);
    const auto [client, clientPort] = loopback(SOCK_STREAM, serverPort.toInt());
    const auto [udp, udpPort] = loopback(SOCK_DGRAM);
    const int accepted = ::accept(server, nullptr, nullptr);

    ConnectionStats stats(std::make_shared<LinuxSocketDump>());
    ConnectionTableController page(stats);
    const QString dump = shown(page);
    for (int fd : {server, lonely, client, udp, accepted})
        ::close(fd);

    EXPECT_TRUE(dump.startsWith("== tcp4")) << dump.toStdString();
    const QString mine = "127.0.0.1 : " + clientPort;
    EXPECT_EQ(lineWith(dump, {"Local:\t" + mine}),
              "Local:\t" + mine + "\tState:\t[green]\tRemote:\t127.0.0.1 : " + serverPort +
                  "\tESTABLISHED");
    EXPECT_TRUE(lineWith(dump, {"Remote:\t" + mine}).endsWith("ESTABLISHED"));
    EXPECT_EQ(lineWith(dump, {"127.0.0.1 : " + udpPort}),
              "Local:\t127.0.0.1 : " + udpPort + "\tState:\tN/A\tRemote:\t* : *");
    // A listening socket is not a connection.
    EXPECT_EQ(lineWith(dump, {"127.0.0.1 : " + lonelyPort}), "") << dump.toStdString();
}

TEST(ListScreens, RoutesOfAPrivateNamespaceOnTheRoutingTablePage)
{
    IdiomScope idiom(ui::UserInterfaceIdiom::Pad);
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    for (const char* command :
         {"link add d0 type veth peer name d1", "link set d0 up", "addr add 10.20.0.1/24 dev d0",
          "route add 192.168.7.0/24 dev d0 mtu 1400", "route add default via 10.20.0.254"})
        ASSERT_TRUE(ns.ip(command)) << command;

    RouteStats stats(std::make_shared<LinuxRouteDump>());
    ASSERT_TRUE(ns.run([&] { stats.refresh(); }));
    RouteTableController page(stats); // shows the collector's snapshot until it refreshes
    page.view()->resize(768, 600);
    const QString dump = page.tableView()->dumpText();
    EXPECT_TRUE(dump.startsWith("== Internet (")) << dump.toStdString();
    EXPECT_EQ(lineWith(dump, {"\tdefault\t"}),
              "Destination:\tdefault\tNetif:\td0\tRefs:\tN/A\tMtu:\tN/A\tGateway:\t10.20.0.254\t"
              "Flags:\tUGS\tUse:\tN/A\tExpire:\tN/A");
    EXPECT_NE(lineWith(dump, {"Destination:\t192.168.7\t", "Mtu:\t1400\t"}), "")
        << dump.toStdString();
}
