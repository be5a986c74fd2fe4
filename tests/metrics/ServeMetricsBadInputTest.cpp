// Clients that misbehave: wrong requests, silent or greedy connections,
// floods. The exporter keeps answering and keeps its memory.
#include "metrics/MetricsServer.h"
#include "ServedExporter.h"

#include <gtest/gtest.h>

using namespace served;

namespace {

long residentKiB(pid_t pid)
{
    return long(
        procNumber(("/proc/" + std::to_string(pid) + "/status").c_str(), "VmRSS:").value_or(0));
}

std::vector<int> silentClients(int port, int count, int receiveBuffer = 0)
{
    std::vector<int> fds;
    for (int i = 0; i < count; ++i)
        fds.push_back(connectTo(port, receiveBuffer));
    return fds;
}

void closeAll(std::vector<int>& fds)
{
    for (int fd : fds)
        ::close(fd);
    fds.clear();
}

// Milliseconds one scrape takes, or -1 when it got no answer.
long scrapeMs(int port, std::chrono::milliseconds limit)
{
    const auto start = Clock::now();
    const Reply r = get(port, "/metrics", limit);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return r.status == 200 && r.body.find("welvane_load1 ") != std::string::npos ? long(ms) : -1;
}

} // namespace

TEST(ServeMetricsBadInput, OnlyGetAndHeadOfMetricsAreServedWithoutIdentityByDefault)
{
    Exporter exporter;
    ASSERT_GT(exporter.port, 0) << exporter.process.errors();
    const int port = exporter.port;
    const Reply ok = get(port, "/metrics?debug=1");
    EXPECT_EQ(ok.status, 200);
    EXPECT_NE(ok.head.find("Content-Type: text/plain"), std::string::npos);
    // Without the identity option: no device ID, no hardware address.
    EXPECT_NE(ok.body.find("\nwelvane_device_info{"), std::string::npos);
    EXPECT_EQ(ok.body.find("device_id="), std::string::npos);
    EXPECT_EQ(ok.body.find("welvane_network_hardware_address_info{"), std::string::npos);
    EXPECT_NE(ok.body.find("welvane_network_address_info{interface=\"lo\",address=\"127.0.0.1\"}"),
              std::string::npos);
    const Reply head = served::exchange(port, "HEAD /metrics HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.body, "");
    for (const char* path : {"/", "/metricsx", "/metrics/", "/metrics/../etc/passwd", "/favicon"})
        EXPECT_EQ(get(port, path).status, 404) << path;
    for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS"})
        EXPECT_EQ(
            served::exchange(port, std::string(method) +
                                       " /metrics HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n")
                .status,
            405)
            << method;
    EXPECT_NE(get(port, "/metrics").status, 0) << "still answering";
    EXPECT_EQ(exporter.process.stop(), 0);
}

TEST(ServeMetricsBadInput, AnAddressInUseOrNotOurOwnFailsWithOneLine)
{
    Exporter first;
    ASSERT_GT(first.port, 0);
    for (const std::string& listen :
         {"127.0.0.1:" + std::to_string(first.port), std::string("192.0.2.77:9100")}) {
        Process second({WELVANE_BINARY, "--serve-metrics", listen});
        EXPECT_EQ(second.stop(0), 1) << listen;
        const std::string errors = second.errors();
        EXPECT_EQ(errors.rfind("welvane: cannot listen on " + listen + ": ", 0), 0u) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
    for (const char* listen : {"9100x", "70000", "localhost:9100", "::1:9100"}) {
        Process bad({WELVANE_BINARY, "--serve-metrics", listen});
        EXPECT_EQ(bad.stop(0), 2) << listen;
    }
    Process identityAlone({WELVANE_BINARY, "--metrics-identity"});
    EXPECT_EQ(identityAlone.stop(0), 2);
    // An IPv6 address is served, or refused in one line when the HTTP
    // library has no IPv6.
    Exporter ipv6({}, {}, "[::1]:0");
    if (MetricsServer::ipv6Served()) {
        EXPECT_EQ(ipv6.line.rfind("welvane: serving metrics on http://[::1]:", 0), 0u);
        EXPECT_EQ(ipv6.process.stop(SIGINT), 0);
    } else {
        EXPECT_EQ(ipv6.process.stop(0), 1);
        EXPECT_NE(ipv6.process.errors().find("built without IPv6"), std::string::npos);
    }
}

TEST(ServeMetricsBadInputTiming, StalledClientsDelayScrapesAtMostByTheRequestTimeOut)
{
    Exporter exporter;
    ASSERT_GT(exporter.port, 0) << exporter.process.errors();
    const int port = exporter.port;

    // Fewer silent clients than server threads: answered at once.
    std::vector<int> silent = silentClients(port, 5);
    ::usleep(100000);
    const long few = scrapeMs(port, 3000ms);
    EXPECT_GE(few, 0);
    EXPECT_LT(few, 1000);
    closeAll(silent);

    // More than the threads (but not twice as many): answered once the
    // time-out frees their threads.
    silent = silentClients(port, 12);
    ::usleep(100000);
    const long many = scrapeMs(port, 12000ms);
    EXPECT_GE(many, 0) << "never answered behind 12 silent clients";
    EXPECT_LT(many, 7000);
    closeAll(silent);

    // Clients that ask and never read the answer hold a thread no longer.
    std::vector<int> greedy = silentClients(port, 12, 1024);
    const std::string request = "GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n";
    for (int fd : greedy)
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    const long behindGreedy = scrapeMs(port, 12000ms);
    EXPECT_GE(behindGreedy, 0);
    EXPECT_LT(behindGreedy, 7000);
    closeAll(greedy);
    EXPECT_EQ(exporter.process.stop(), 0);
}

TEST(ServeMetricsBadInputTiming, FloodsAndHugeHeadersLeaveMemoryBounded)
{
    Exporter exporter;
    ASSERT_GT(exporter.port, 0) << exporter.process.errors();
    const int port = exporter.port;
    ASSERT_GT(scrapeMs(port, 3000ms), -1);
    const long before = residentKiB(exporter.process.pid());

    // A 1 MB header is refused, not buffered.
    const std::string huge =
        "GET /metrics HTTP/1.1\r\nHost: x\r\nX-Filler: " + std::string(1 << 20, 'a') + "\r\n\r\n";
    const Reply refused = served::exchange(port, huge, 6000ms);
    EXPECT_NE(refused.status, 200);

    // 200 clients at once, all answered.
    std::vector<int> clients = silentClients(port, 200);
    const std::string request = "GET /metrics HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    for (int fd : clients)
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    int answered = 0;
    const auto end = Clock::now() + 20000ms;
    for (int fd : clients) {
        std::string got;
        char buffer[8192];
        while (Clock::now() < end) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0)
                continue;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        answered += got.rfind("HTTP/1.1 200", 0) == 0 && got.find("welvane_load1 ") != got.npos;
    }
    closeAll(clients);
    EXPECT_EQ(answered, 200);

    for (int i = 0; i < 3; ++i)
        served::exchange(port, huge, 6000ms);
    const long after = residentKiB(exporter.process.pid());
    EXPECT_LT(after - before, 16 * 1024) << "resident memory grew from " << before << " KiB";
    EXPECT_EQ(exporter.process.stop(), 0);
}
