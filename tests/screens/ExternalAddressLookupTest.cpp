#include "screens/overview/ExternalAddressLookup.h"
#include "host/settings/Defaults.h"
#include "support/TestSupport.h"

#include "AddressServer.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>

namespace {

using namespace std::chrono_literals;

struct LookupTest : ::testing::Test {
    QTemporaryDir dir;
    Defaults defaults{dir.path() + "/welvane.conf"};
    AddressServer server;
    ExternalAddressLookup lookup{defaults};

    void SetUp() override
    {
        defaults.setObject(server.base(), ExternalAddressLookup::kServiceKey);
        lookup.setTimeout(800ms);
    }

    QString run()
    {
        lookup.clickMe(false);
        EXPECT_EQ(lookup.externalIP(), "Loading...");
        EXPECT_TRUE(testsupport::waitUntil([&] { return !lookup.loadingIP(); }, 5000ms));
        return lookup.externalIP();
    }
};

// The cases that measure time run alone.
struct LookupTiming : LookupTest {};

TEST_F(LookupTest, BadAnswersEndInNA)
{
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", AddressServer::ok("")},
        {"address and junk", AddressServer::ok("1.2.3.4 junk")},
        {"server error", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 7\r\n"
                         "Connection: close\r\n\r\n1.2.3.4"},
    };
    for (const auto& [name, bytes] : cases) {
        server.answer = [bytes = bytes] { return bytes; };
        EXPECT_EQ(run(), "N/A") << name;
    }
    EXPECT_EQ(server.requests, 3);

    QTcpServer closed; // nothing listens on its port once closed
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    defaults.setObject(QStringLiteral("127.0.0.1:%1").arg(port),
                       ExternalAddressLookup::kServiceKey);
    EXPECT_EQ(run(), "N/A");
}

TEST_F(LookupTiming, HangPastTheTimeOutEndsInNAAndReloadWorksAgain)
{
    server.answer = [] { return QByteArray(); };
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(), "N/A");
    EXPECT_GE(clock.elapsed(), 700);
    EXPECT_LT(clock.elapsed(), 4000);
    server.answer = [] { return AddressServer::ok("203.0.113.9"); };
    EXPECT_EQ(run(), "203.0.113.9");
    EXPECT_EQ(server.requests, 2);
}

TEST_F(LookupTiming, HugeBodiesAreRefused)
{
    // Announced by its length, and sent without one (read until close).
    const QByteArray huge(4 << 20, '1');
    server.answer = [&] { return AddressServer::ok(huge); };
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(), "N/A");
    EXPECT_LE(lookup.bodyBytesRead(), ExternalAddressLookup::kMaxBodyBytes + 1);
    server.answer = [&] { return "HTTP/1.0 200 OK\r\n\r\n" + huge; };
    EXPECT_EQ(run(), "N/A");
    EXPECT_LE(lookup.bodyBytesRead(), ExternalAddressLookup::kMaxBodyBytes + 1);
    EXPECT_LT(clock.elapsed(), 700); // refused at once, not timed out
    // An address padded to exactly the limit is read; one byte more is not.
    for (const int size :
         {ExternalAddressLookup::kMaxBodyBytes, ExternalAddressLookup::kMaxBodyBytes + 1}) {
        const QByteArray body = QByteArray(size - 9, ' ') + "10.0.0.1\n";
        server.answer = [body] { return AddressServer::ok(body); };
        EXPECT_EQ(run(), size == ExternalAddressLookup::kMaxBodyBytes ? "10.0.0.1" : "N/A") << size;
    }
}

TEST_F(LookupTest, ValidAddressFromAnHttpServiceWithAValidPort)
{
    server.answer = [] { return AddressServer::ok("198.51.100.7\n"); };
    EXPECT_EQ(lookup.externalIP(), "N/A"); // before any lookup
    EXPECT_EQ(run(), "198.51.100.7");
    EXPECT_TRUE(server.lastRequest.startsWith("GET /get_ip_addr HTTP/1.1\r\n"))
        << server.lastRequest.toStdString();
    server.lastRequest.clear();
    server.requests = 0;
    defaults.setObject("127.0.0.1:x" + server.base().section(':', -1),
                       ExternalAddressLookup::kServiceKey);
    EXPECT_EQ(run(), "N/A");
    EXPECT_EQ(server.requests, 0);
    // A path or a query of the user's own is sent as given.
    defaults.setObject(server.base() + "/?format=text", ExternalAddressLookup::kServiceKey);
    EXPECT_EQ(run(), "198.51.100.7");
    EXPECT_TRUE(server.lastRequest.startsWith("GET /?format=text HTTP/1.1\r\n"))
        << server.lastRequest.toStdString();
}

TEST(ExternalAddressLookupTest, ServiceUrlFromTheSettings)
{
    EXPECT_EQ(ExternalAddressLookup::lookupUrl({}).toString(), "https://api.ipify.org");
    const std::pair<const char*, const char*> cases[] = {
        {"example.org:8080", "http://example.org:8080/get_ip_addr"},
        {"HTTPS://example.org:65535/", "https://example.org:65535/get_ip_addr"},
        {"http://example.org:65536", ""},
        {"ftp://example.org", ""},
        {"https://:443/", ""},
    };
    for (const auto& [setting, url] : cases) {
        EXPECT_EQ(ExternalAddressLookup::lookupUrl(QString::fromLatin1(setting)).toString(),
                  QString::fromLatin1(url))
            << setting;
    }
}

TEST(ExternalAddressLookupTest, AddressValidation)
{
    EXPECT_TRUE(ExternalAddressLookup::isIpv4Address(" 10.0.0.1\r\n"));
    for (const QByteArray bad : {"", "1.2.3.4.5", "256.1.1.1", "::1"})
        EXPECT_FALSE(ExternalAddressLookup::isIpv4Address(bad)) << bad.constData();
    EXPECT_FALSE(ExternalAddressLookup::isIpv4Address(QByteArray("1.2.3.4\0junk", 12)));
}

} // namespace
