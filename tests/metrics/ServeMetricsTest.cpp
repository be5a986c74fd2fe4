// The real exporter's values against what the machine says.
#include "../stats/NetnsScope.h"
#include "ServedExporter.h"
#include "support/CommandOutput.h"

#include <gtest/gtest.h>

#include <fstream>
#include <pwd.h>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace served;

namespace {

std::string label(const std::string& text, const std::string& metric, const std::string& name)
{
    const auto at = text.find("\n" + metric + "{");
    const auto key = text.find(name + "=\"", at);
    if (at == std::string::npos || key == std::string::npos)
        return "<absent>";
    const auto start = key + name.size() + 2;
    return text.substr(start, text.find('"', start) - start);
}

int lines(const QString& text)
{
    return text.isEmpty() ? 0 : int(text.count(QLatin1Char('\n'))) + 1;
}

} // namespace

TEST(ServeMetrics, ValuesMatchTheMachineAndPromtoolAcceptsThem)
{
    Exporter exporter({"--metrics-identity"});
    ASSERT_GT(exporter.port, 0) << exporter.line << exporter.process.errors();
    EXPECT_EQ(exporter.line.rfind("welvane: serving metrics on http://127.0.0.1:", 0), 0u);
    const std::string text = exporter.scrape();

    EXPECT_EQ(sample(text, "welvane_memory_total_bytes"),
              double(*procNumber("/proc/meminfo", "MemTotal:") * 1024));
    EXPECT_EQ(sample(text, "welvane_boot_time_seconds"),
              double(*procNumber("/proc/stat", "btime ")));
    EXPECT_EQ(label(text, "welvane_device_info", "cores"),
              testsupport::commandOutput("getconf", {"_NPROCESSORS_ONLN"}).toStdString());
    EXPECT_EQ(label(text, "welvane_device_info", "kernel"),
              testsupport::commandOutput("uname", {"-r"}).toStdString());
    // The exporter itself is one of its user's processes.
    const std::string me = ::getpwuid(::geteuid())->pw_name;
    EXPECT_GE(sample(text, "welvane_processes{user=\"" + me + "\"}").value_or(0), 1) << me;
    // The identity option adds the application's device ID, never the raw
    // machine ID it is derived from.
    std::string machineId;
    std::ifstream("/etc/machine-id") >> machineId;
    const std::string deviceId = label(text, "welvane_device_info", "device_id");
    EXPECT_NE(deviceId, "<absent>");
    if (!machineId.empty()) {
        EXPECT_NE(deviceId, machineId);
        EXPECT_EQ(text.find(machineId), std::string::npos);
    }

    const std::string file = std::string(WELVANE_TEST_OUTPUT) + "/metrics-scrape.txt";
    std::system(("mkdir -p " + std::string(WELVANE_TEST_OUTPUT)).c_str());
    std::ofstream(file) << text;
    EXPECT_EQ(std::system(("promtool check metrics < " + file + " >/dev/null 2>&1").c_str()), 0)
        << "promtool rejects " << file;
    EXPECT_EQ(exporter.process.stop(SIGINT), 0);
}

// Sockets and routes of a private namespace, where the test knows them all.
TEST(ServeMetrics, CountsSocketsAndRoutesOfItsNetworkNamespace)
{
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    // No link-local addresses: their routes would appear while the test runs.
    for (const char* command :
         {"link add m0 type veth peer name m1", "link set m0 addrgenmode none",
          "link set m1 addrgenmode none", "link set m1 up", "link set m0 up",
          "addr add 10.30.0.1/24 dev m0", "-6 addr add 2001:db8:9::1/64 dev m0 nodad"})
        ASSERT_TRUE(ns.ip(command)) << command;
    Exporter exporter({}, {"ip", "netns", "exec", ns.name()});
    ASSERT_GT(exporter.port, 0) << exporter.process.errors();
    const auto scrape = [&] {
        std::string text;
        ns.run([&] { text = exporter.scrape(); });
        return text;
    };
    const auto value = [](const std::string& text, const std::string& series) {
        return sample(text, series).value_or(0);
    };
    const std::string est = "welvane_connections{protocol=\"tcp\",state=\"established\"}";
    const std::string udpFree = "welvane_connections{protocol=\"udp\",state=\"unconnected\"}";
    const std::string udpPeer = "welvane_connections{protocol=\"udp\",state=\"connected\"}";
    const std::string v4 = "welvane_routes{family=\"ipv4\"}";
    const std::string v6 = "welvane_routes{family=\"ipv6\"}";
    const std::string before = scrape();

    // Three TCP pairs, two UDP sockets of which one has a peer, 40 + 10 routes.
    std::vector<int> fds;
    ns.run([&] {
        fds = loopbackPairs(3);
        for (int i = 0; i < 2; ++i) {
            const int u = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            ::bind(u, reinterpret_cast<sockaddr*>(&a), sizeof a);
            a.sin_port = htons(9);
            if (i == 1)
                ::connect(u, reinterpret_cast<sockaddr*>(&a), sizeof a);
            fds.push_back(u);
        }
    });
    std::ostringstream batch;
    for (int i = 0; i < 40; ++i)
        batch << "route add 172.16." << i << ".0/24 dev m0\n";
    for (int i = 0; i < 10; ++i)
        batch << "route add 2001:db8:" << 100 + i << "::/48 dev m0\n";
    const std::string batchFile = std::string(WELVANE_TEST_OUTPUT) + "/metrics-routes.batch";
    std::system(("mkdir -p " + std::string(WELVANE_TEST_OUTPUT)).c_str());
    std::ofstream(batchFile) << batch.str();
    ASSERT_TRUE(ns.ip("-batch " + batchFile));

    std::this_thread::sleep_for(1100ms); // readings are refreshed at most once a second
    const std::string after = scrape();
    EXPECT_EQ(value(after, est) - value(before, est), 6);
    EXPECT_EQ(value(after, udpFree) - value(before, udpFree), 1);
    EXPECT_EQ(value(after, udpPeer) - value(before, udpPeer), 1);
    EXPECT_EQ(value(after, v4) - value(before, v4), 40);
    EXPECT_EQ(value(after, v6) - value(before, v6), 10);
    const QString nsName = QString::fromStdString(ns.name());
    EXPECT_EQ(value(after, v4), lines(testsupport::commandOutput(
                                    "ip", {"-n", nsName, "-4", "route", "show", "table", "all"})));
    EXPECT_EQ(value(after, v6), lines(testsupport::commandOutput(
                                    "ip", {"-n", nsName, "-6", "route", "show", "table", "all"})));
    for (int fd : fds)
        ::close(fd);
    EXPECT_EQ(exporter.process.stop(), 0);
}
