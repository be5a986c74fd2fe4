#include "host/dbus/ModemManagerClient.h"

#include "DBusMockBus.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

// The ModemManager client against a dbusmock ModemManager on a private bus:
// the service's object manager lists the modems built here with AddObject.
// The client never waits, so each test lets the event loop bring its answers.

namespace {

// One entry of dbusmock's AddObject method list, a(ssss).
struct MockMethod {
    QString name, inSignature, outSignature, code;
};

QDBusArgument& operator<<(QDBusArgument& arg, const MockMethod& m)
{
    arg.beginStructure();
    arg << m.name << m.inSignature << m.outSignature << m.code;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, MockMethod& m)
{
    arg.beginStructure();
    arg >> m.name >> m.inSignature >> m.outSignature >> m.code;
    arg.endStructure();
    return arg;
}

} // namespace

Q_DECLARE_METATYPE(MockMethod)

namespace {

const QString Service = "org.freedesktop.ModemManager1";
const QString Root = "/org/freedesktop/ModemManager1";
const QString ModemPath = "/org/freedesktop/ModemManager1/Modem/0";
const QString SimPath = "/org/freedesktop/ModemManager1/SIM/0";
const QString ModemIface = "org.freedesktop.ModemManager1.Modem";
const QString Modem3gppIface = "org.freedesktop.ModemManager1.Modem.Modem3gpp";
const QString SimIface = "org.freedesktop.ModemManager1.Sim";
const QString MockIface = "org.freedesktop.DBus.Mock";

std::string str(const QString& s)
{
    return s.toStdString();
}

class ModemManagerMock : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveDBusMockTools())
            GTEST_SKIP() << "dbus-daemon or python3-dbusmock (for /usr/bin/python3) missing";
        qDBusRegisterMetaType<MockMethod>();
        qDBusRegisterMetaType<QList<MockMethod>>();
        ASSERT_TRUE(bus.start());
        connection = QDBusConnection::connectToBus(bus.address, "modemmanager-test");
        ASSERT_TRUE(connection.isConnected());
    }
    void TearDown() override { QDBusConnection::disconnectFromBus("modemmanager-test"); }

    void startModemManager()
    {
        modemManager.start(bus, {"--is-object-manager", Service, Root, Service});
        ASSERT_TRUE(waitForBusName(connection, Service));
    }

    void mockCall(const QString& path, const QString& method, const QVariantList& args)
    {
        auto msg = QDBusMessage::createMethodCall(Service, path, MockIface, method);
        msg.setArguments(args);
        const auto reply = connection.call(msg, QDBus::Block, 3000);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << str(reply.errorMessage());
    }

    void addObject(const QString& path, const QString& iface, const QVariantMap& props)
    {
        mockCall(Root, "AddObject", {path, iface, props, QVariant::fromValue(QList<MockMethod>{})});
    }

    // A modem registered on a 3GPP network; `sim` is "/" for none.
    void addModem(const QString& operatorName, const QString& operatorCode,
                  const QString& sim = "/")
    {
        addObject(ModemPath, ModemIface, {{"Sim", QVariant::fromValue(QDBusObjectPath(sim))}});
        mockCall(ModemPath, "AddProperties",
                 {Modem3gppIface,
                  QVariantMap{{"OperatorName", operatorName}, {"OperatorCode", operatorCode}}});
    }

    // A client whose first answer is in; the UI thread was never held up.
    std::unique_ptr<ModemManagerClient> settledClient()
    {
        auto client = std::make_unique<ModemManagerClient>(connection);
        EXPECT_LT(spinUntil([&] { return client->settled(); }, 3000), 50);
        EXPECT_TRUE(client->settled());
        return client;
    }

    PrivateBus bus;
    MockService modemManager;
    QDBusConnection connection{QString()};
};

TEST_F(ModemManagerMock, WithoutTheServiceThereIsNoCarrierAndNoModem)
{
    QElapsedTimer timer;
    timer.start();
    const auto client = settledClient();
    EXPECT_FALSE(client->read().serviceAvailable);
    EXPECT_FALSE(client->read().carrier);
    EXPECT_FALSE(client->available());
    EXPECT_FALSE(client->carrierName());
    // The service is never waited for or activated.
    EXPECT_LT(timer.elapsed(), 1000);

    ModemManagerClient noBus{QDBusConnection("none")};
    EXPECT_TRUE(noBus.settled());
    EXPECT_FALSE(noBus.read().serviceAvailable);
    EXPECT_FALSE(noBus.available());
    EXPECT_FALSE(noBus.carrierName());
}

TEST_F(ModemManagerMock, AServiceThatNeverAnswersIsAbsentAndNeverBlocks)
{
    SilentService silent;
    ASSERT_TRUE(silent.start(bus, Service));
    ModemManagerClient client(connection);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(client.read().serviceAvailable);
    EXPECT_FALSE(client.available());
    EXPECT_FALSE(client.carrierName());
    EXPECT_LT(timer.elapsed(), 50);
    // Given up after the call's time-out, with the event loop free all along.
    EXPECT_LT(spinUntil([&] { return client.settled(); }, 5000), 50);
    EXPECT_TRUE(client.settled());
    EXPECT_GE(timer.elapsed(), ModemManagerClient::kCallTimeoutMs - 100);
    EXPECT_LT(timer.elapsed(), ModemManagerClient::kCallTimeoutMs + 1000);
    EXPECT_FALSE(client.read().serviceAvailable);
}

TEST_F(ModemManagerMock, NoCarrierWithoutAModemOrWithoutItsNetworkInterface)
{
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    // A SIM object alone is no modem.
    ASSERT_NO_FATAL_FAILURE(addObject(
        SimPath, SimIface, {{"OperatorName", "Lonely"}, {"OperatorIdentifier", "310260"}}));
    auto client = settledClient();
    EXPECT_TRUE(client->read().serviceAvailable);
    EXPECT_TRUE(client->available());
    EXPECT_FALSE(client->read().carrier);
    EXPECT_FALSE(client->carrierName());

    // A modem that points at no SIM and has no 3GPP interface: still none.
    ASSERT_NO_FATAL_FAILURE(addObject(ModemPath, ModemIface, {}));
    client = settledClient();
    EXPECT_TRUE(client->read().serviceAvailable);
    EXPECT_FALSE(client->read().carrier);
    EXPECT_FALSE(client->carrierName());
}

TEST_F(ModemManagerMock, SimOperatorComesBeforeTheNetworkOperator)
{
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    ASSERT_NO_FATAL_FAILURE(addObject(
        SimPath, SimIface, {{"OperatorName", "Home SIM"}, {"OperatorIdentifier", "23415"}}));
    ASSERT_NO_FATAL_FAILURE(addModem("Roaming Net", "310260", SimPath));
    const CarrierReading reading = settledClient()->read();
    ASSERT_TRUE(reading.carrier);
    EXPECT_EQ(str(reading.carrier->carrierName), "Home SIM");
    EXPECT_EQ(str(reading.carrier->mobileCountryCode), "234");
    EXPECT_EQ(str(reading.carrier->mobileNetworkCode), "15");
    EXPECT_EQ(str(reading.carrier->isoCountryCode), "gb");
}

TEST_F(ModemManagerMock, ChangesAndTheServiceLeavingKeepTheCacheCurrent)
{
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    ASSERT_NO_FATAL_FAILURE(addModem("First Net", "310260"));
    const auto client = settledClient();
    ASSERT_EQ(client->carrierName().value_or("-").toStdString(), "First Net");

    ASSERT_NO_FATAL_FAILURE(mockCall(
        ModemPath, "UpdateProperties",
        {Modem3gppIface, QVariantMap{{"OperatorName", "Second Net"}, {"OperatorCode", "23415"}}}));
    spinUntil([&] { return client->carrierName() == QString("Second Net"); }, 3000);
    EXPECT_EQ(client->carrierName().value_or("-").toStdString(), "Second Net");
    const CarrierReading reading = client->read();
    ASSERT_TRUE(reading.carrier);
    EXPECT_EQ(str(reading.carrier->carrierName), "Second Net");
    EXPECT_EQ(str(reading.carrier->isoCountryCode), "gb");

    modemManager.process.kill();
    modemManager.process.waitForFinished();
    spinUntil([&] { return !client->available(); }, 3000);
    EXPECT_FALSE(client->available());
    EXPECT_FALSE(client->read().carrier);
    EXPECT_FALSE(client->carrierName());
}

struct OperatorCase {
    const char* name;
    const char* code;
    const char* mcc; // "" where the code cannot be read
    const char* mnc;
    const char* iso;
};

void PrintTo(const OperatorCase& c, std::ostream* os)
{
    *os << '"' << c.name << "\" " << c.code;
}

class ModemManagerOperator : public ModemManagerMock,
                             public ::testing::WithParamInterface<OperatorCase> {};

TEST_P(ModemManagerOperator, NetworkOperatorIsRead)
{
    const OperatorCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(startModemManager());
    ASSERT_NO_FATAL_FAILURE(addModem(c.name, c.code));

    const auto client = settledClient();
    const CarrierReading reading = client->read();
    EXPECT_TRUE(reading.serviceAvailable);
    ASSERT_TRUE(reading.carrier);
    EXPECT_EQ(str(reading.carrier->carrierName), c.name);
    EXPECT_EQ(str(reading.carrier->mobileCountryCode), c.mcc);
    EXPECT_EQ(str(reading.carrier->mobileNetworkCode), c.mnc);
    EXPECT_EQ(str(reading.carrier->isoCountryCode), c.iso);

    // An empty name is still a name: it tells the device facts there is no
    // working carrier, which a missing one does not.
    EXPECT_TRUE(client->available());
    const auto name = client->carrierName();
    ASSERT_TRUE(name);
    EXPECT_EQ(str(*name), c.name);
}

INSTANTIATE_TEST_SUITE_P(Codes, ModemManagerOperator,
                         ::testing::Values(OperatorCase{"T-Mobile", "310260", "310", "260", "us"},
                                           OperatorCase{"Vodafone UK", "23415", "234", "15", "gb"},
                                           OperatorCase{"", "310260", "310", "260", "us"},
                                           OperatorCase{"Test Network", "00101", "001", "01", ""},
                                           OperatorCase{"Short", "31", "", "", ""},
                                           OperatorCase{"Letters", "abcde", "", "", ""},
                                           OperatorCase{"Too Long", "3102601", "", "", ""}));

} // namespace
