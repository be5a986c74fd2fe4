#include "host/proc/LinuxKernelFacts.h"
#include "host/system/HostFile.h"
#include "host/system/LinuxDeviceIdentity.h"
#include "HostFixtures.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(DeviceIdentityFixtures, PrettyNameOsAndDerivedId)
{
    LinuxKernelFacts facts(machineRoot("laptop-one-battery"));
    LinuxDeviceIdentity id(facts, machineRoot("laptop-one-battery"));
    EXPECT_EQ(id.name(), "Ana's ThinkPad");
    EXPECT_EQ(id.systemName(), "Debian GNU/Linux");
    EXPECT_EQ(id.systemVersion(), "12");
    EXPECT_TRUE(id.multitaskingSupported());
    const auto udid = id.uniqueIdentifier();
    ASSERT_TRUE(udid);
    // HMAC-SHA256 keyed with the machine ID over our app ID, made a version-4
    // UUID (worked out with Python's hmac): never the raw machine ID.
    EXPECT_EQ(*udid, "8d78a8fbf5374e699d5ded35aa0b3b82");
}

TEST(DeviceIdentityFixtures, FallsBackToHostNameAndLacksIdWhenDamaged)
{
    LinuxKernelFacts facts(machineRoot("garbled"));
    LinuxDeviceIdentity id(facts, machineRoot("garbled"));
    EXPECT_EQ(id.name(), ""); // no host name captured, empty machine-info
    EXPECT_EQ(id.systemName(), "");
    EXPECT_EQ(id.systemVersion(), "7");
    EXPECT_FALSE(id.uniqueIdentifier()); // machine-id "1234"

    LinuxKernelFacts desk(machineRoot("desktop"));
    EXPECT_EQ(LinuxDeviceIdentity(desk, machineRoot("desktop")).name(), "tower");
}

// The application ID's part in the result is pinned by the fixture's value.
TEST(AppSpecificId, RejectsIdsThatAreNotHex)
{
    const std::string machine = "00112233445566778899aabbccddeeff";
    EXPECT_FALSE(LinuxDeviceIdentity::appSpecificId("xyz", "0123456789abcdef0123456789abcdef"));
    EXPECT_FALSE(LinuxDeviceIdentity::appSpecificId(machine, "0123456789abcdef0123456789abcdeg"));
}

TEST(AppSpecificId, MatchesSystemdOnThisMachine)
{
    const QString tool = QStandardPaths::findExecutable("systemd-id128");
    if (tool.isEmpty() || !hostfile::exists("/etc/machine-id"))
        GTEST_SKIP() << "no systemd-id128 or machine id here";
    QProcess p;
    p.start(tool, {"machine-id", QString("--app-specific=") + LinuxDeviceIdentity::kAppId});
    ASSERT_TRUE(p.waitForFinished(10000));
    const std::string expected = p.readAllStandardOutput().trimmed().toStdString();
    LinuxKernelFacts facts;
    LinuxDeviceIdentity id(facts);
    EXPECT_EQ(id.uniqueIdentifier(), expected);
}
