#include "host/dbus/ModemManagerClient.h"
#include "host/dbus/ModemManagerState.h"

#include "DBusMockBus.h"

#include <QDBusObjectPath>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

// The ModemManager client against a dbusmock ModemManager on a private bus:
// the service's object manager lists the modems built here with AddObject.
// The client never waits, so each test lets the event loop bring its answers.

namespace {

const QString Service = "org.freedesktop.ModemManager1";
const QString Root = "/org/freedesktop/ModemManager1";
const QString ModemPath = "/org/freedesktop/ModemManager1/Modem/0";
const QString SimPath = "/org/freedesktop/ModemManager1/SIM/0";
const QString ModemIface = "org.freedesktop.ModemManager1.Modem";
const QString Modem3gppIface = "org.freedesktop.ModemManager1.Modem.Modem3gpp";
const QString SimIface = "org.freedesktop.ModemManager1.Sim";

std::string str(const QString& s)
{
    return s.toStdString();
}

class ModemManagerMock : public MockBusTest {
protected:
    void startModemManager()
    {
        startService(Service, {"--is-object-manager", Service, Root, Service});
    }

    void mockCall(const QString& path, const QString& method, const QVariantList& args)
    {
        MockBusTest::mockCall(Service, path, method, args);
    }

    // With no methods: dbusmock takes any empty list for its a(ssss).
    void addObject(const QString& path, const QString& iface, const QVariantMap& props)
    {
        mockCall(Root, "AddObject", {path, iface, props, QStringList{}});
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
};

TEST_F(ModemManagerMock, WithoutTheServiceOrABusThereIsNoCarrier)
{
    QElapsedTimer timer;
    timer.start();
    const auto client = settledClient();
    EXPECT_FALSE(client->read().serviceAvailable);
    EXPECT_FALSE(client->available());
    EXPECT_FALSE(client->carrierName());
    // The service is never waited for or activated.
    EXPECT_LT(timer.elapsed(), 1000);

    ModemManagerClient noBus{QDBusConnection("none")};
    EXPECT_TRUE(noBus.settled());
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
    EXPECT_FALSE(client.available());
    EXPECT_LT(timer.elapsed(), 50);
    // Given up after the call's time-out, with the event loop free all along.
    EXPECT_LT(spinUntil([&] { return client.settled(); }, 5000), 50);
    EXPECT_TRUE(client.settled());
    EXPECT_GE(timer.elapsed(), ModemManagerClient::kCallTimeoutMs - 100);
    EXPECT_LT(timer.elapsed(), ModemManagerClient::kCallTimeoutMs + 1000);
    EXPECT_FALSE(client.read().serviceAvailable);
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
    const CarrierReading reading = client->read();
    ASSERT_TRUE(reading.carrier);
    EXPECT_EQ(str(reading.carrier->carrierName), "Second Net");
    EXPECT_EQ(str(reading.carrier->isoCountryCode), "gb");

    stopService();
    spinUntil([&] { return !client->available(); }, 3000);
    EXPECT_FALSE(client->available());
    EXPECT_FALSE(client->read().carrier);
    EXPECT_FALSE(client->carrierName());
}

} // namespace

TEST(ModemManagerStateCodes, NoCarrierWithoutAModemOrWithoutItsNetworkInterface)
{
    ModemManagerState state;
    // A SIM object alone is no modem.
    state.reset({{SimPath, {{SimIface, {{"OperatorName", "Lonely"}}}}}});
    EXPECT_FALSE(state.carrier());
    // A modem that points at no SIM and has no 3GPP interface: still none.
    state.addInterfaces(ModemPath, {{ModemIface, {{"Sim", "/"}}}});
    EXPECT_FALSE(state.carrier());
    EXPECT_FALSE(state.operatorName());
}

// The operator code's split and country, on the state the client keeps, so
// each case needs no service of its own.
TEST(ModemManagerStateCodes, OperatorCodeGivesCountryAndNetwork)
{
    struct Case {
        const char* code;
        const char* mcc; // "" where the code cannot be read
        const char* mnc;
        const char* iso;
    };
    for (const Case& c : {Case{"310260", "310", "260", "us"}, Case{"23415", "234", "15", "gb"},
                          Case{"00101", "001", "01", ""}, Case{"31", "", "", ""},
                          Case{"abcde", "", "", ""}, Case{"3102601", "", "", ""}}) {
        SCOPED_TRACE(c.code);
        ModemManagerState state;
        state.reset({{ModemPath,
                      {{ModemManagerState::ModemIface, {}},
                       {ModemManagerState::Modem3gppIface,
                        {{"OperatorName", ""}, {"OperatorCode", c.code}}}}}});
        const auto carrier = state.carrier();
        ASSERT_TRUE(carrier);
        EXPECT_EQ(str(carrier->mobileCountryCode), c.mcc);
        EXPECT_EQ(str(carrier->mobileNetworkCode), c.mnc);
        EXPECT_EQ(str(carrier->isoCountryCode), c.iso);
        // An empty name is still a name: it tells the device facts there is
        // no working carrier, which a missing one does not.
        ASSERT_TRUE(state.operatorName());
        EXPECT_TRUE(state.operatorName()->isEmpty());
    }
}
