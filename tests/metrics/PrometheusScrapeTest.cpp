// A real Prometheus scrapes the real exporter, both in a private network
// namespace so the test knows every TCP connection there.
#include "../stats/NetnsScope.h"
#include "ServedExporter.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <thread>

using namespace served;

namespace {

class Prometheus {
public:
    Prometheus(const NetnsScope& ns, int target) : m_ns(ns), m_port(freePort())
    {
        const QString config = m_dir.filePath(QStringLiteral("prometheus.yml"));
        QFile f(config);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n"
                               "scrape_configs:\n  - job_name: welvane\n"
                               "    static_configs:\n      - targets: ['127.0.0.1:%1']\n")
                    .arg(target)
                    .toUtf8());
        f.close();
        m_process = std::make_unique<Process>(std::vector<std::string>{
            "ip", "netns", "exec", ns.name(), "prometheus", "--config.file=" + config.toStdString(),
            "--storage.tsdb.path=" + m_dir.filePath(QStringLiteral("data")).toStdString(),
            "--web.listen-address=127.0.0.1:" + std::to_string(m_port)});
    }
    ~Prometheus() { m_process->stop(SIGTERM, 5000ms); }

    // The value of the first series the instant query returns.
    std::optional<double> query(const std::string& promql) const
    {
        Reply r;
        const QByteArray q = QUrl::toPercentEncoding(QString::fromStdString(promql));
        m_ns.run([&] { r = get(m_port, "/api/v1/query?query=" + q.toStdString(), 2000ms); });
        const QJsonArray result = QJsonDocument::fromJson(QByteArray::fromStdString(r.body))
                                      .object()[QStringLiteral("data")]
                                      .toObject()[QStringLiteral("result")]
                                      .toArray();
        if (result.isEmpty())
            return std::nullopt;
        return result[0].toObject()[QStringLiteral("value")].toArray()[1].toString().toDouble();
    }

    // Polls until pred holds for the query's value (or the time is up).
    std::optional<double> waitFor(const std::string& promql,
                                  const std::function<bool(double)>& pred,
                                  std::chrono::milliseconds limit = 30000ms) const
    {
        std::optional<double> v;
        for (const auto end = Clock::now() + limit; Clock::now() < end;) {
            v = query(promql);
            if (v && pred(*v))
                return v;
            std::this_thread::sleep_for(250ms);
        }
        return v;
    }

private:
    const NetnsScope& m_ns;
    QTemporaryDir m_dir;
    int m_port;
    std::unique_ptr<Process> m_process;
};

} // namespace

TEST(PrometheusScrapeTiming, PrometheusStoresTheExportersSeries)
{
    if (QStandardPaths::findExecutable(QStringLiteral("prometheus")).isEmpty())
        GTEST_SKIP() << "the prometheus package is not installed";
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    Exporter exporter({}, {"ip", "netns", "exec", ns.name()});
    ASSERT_GT(exporter.port, 0) << exporter.line << exporter.process.errors();
    Prometheus prometheus(ns, exporter.port);

    const auto up = prometheus.waitFor("up{job=\"welvane\"}", [](double v) { return v == 1; });
    ASSERT_EQ(up, 1.0) << "Prometheus never scraped the exporter successfully";
    EXPECT_TRUE(prometheus.query("welvane_load1{job=\"welvane\"}").has_value());
    EXPECT_EQ(prometheus.query("welvane_memory_total_bytes"),
              double(*procNumber("/proc/meminfo", "MemTotal:") * 1024));
    EXPECT_EQ(prometheus.query("min_over_time(welvane_collector_success[1m])"), 1.0);

    // Before: only a scrape or a query in flight may be established (2
    // sockets each). After five pairs: ten more, each counted once.
    const std::string established =
        "sum(welvane_connections{protocol=\"tcp\",state=\"established\"}) or vector(0)";
    const auto before = prometheus.query(established);
    ASSERT_TRUE(before.has_value());
    EXPECT_LE(*before, 4);
    std::vector<int> pairs;
    ns.run([&] { pairs = loopbackPairs(5); });
    const auto after = prometheus.waitFor(established, [](double v) { return v >= 10; });
    ASSERT_TRUE(after.has_value());
    EXPECT_GE(*after, 10);
    EXPECT_LE(*after, 14);
    for (int fd : pairs)
        ::close(fd);

    EXPECT_EQ(exporter.process.stop(), 0);
}
