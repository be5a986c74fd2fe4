#include "host/sysfs/LinuxBattery.h"
#include "host/sysfs/PowerSupply.h"
#include "HostFixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

TEST(PowerSupplyFixtures, OneBatteryIgnoresPeripheralsAndMains)
{
    const PowerSupplyReading r = PowerSupply::read(machineRoot("laptop-one-battery"));
    EXPECT_EQ(r.batteries, 1); // the mouse battery (scope Device) does not count
    EXPECT_FLOAT_EQ(r.level, 0.87f);
    EXPECT_EQ(r.state, Battery::StateUnplugged);
    EXPECT_EQ(r.design_capacity_mah, 57000000ull * 1000 / 11520000); // µWh / µV
    EXPECT_EQ(r.design_voltage_uv, 11520000u);
}

TEST(PowerSupplyFixtures, TwoBatteriesAreSummedByEnergy)
{
    const PowerSupplyReading r = PowerSupply::read(machineRoot("laptop-two-batteries"));
    EXPECT_EQ(r.batteries, 2);
    // BAT0 18.4 of 23 Wh; BAT1 counts charge: 2 of 4 Ah at 11.1 V = 22.2 of 44.4 Wh.
    EXPECT_NEAR(r.level, (18.4 + 22.2) / (23.0 + 44.4), 1e-6);
    // One charging, one held at its limit ("Not charging"): charging wins.
    EXPECT_EQ(r.state, Battery::StateCharging);
    EXPECT_EQ(r.design_capacity_mah, 23480000ull * 1000 / 11400000 + 4200);
}

TEST(PowerSupplyFixtures, NoBatteryAndDamagedBattery)
{
    const PowerSupplyReading desk = PowerSupply::read(machineRoot("desktop"));
    EXPECT_EQ(desk.batteries, 0);
    EXPECT_EQ(desk.level, -1.0f);
    EXPECT_EQ(desk.state, Battery::StateUnknown);
    EXPECT_FALSE(desk.design_capacity_mah);

    const PowerSupplyReading bad = PowerSupply::read(machineRoot("garbled"));
    EXPECT_EQ(bad.batteries, 1);
    EXPECT_EQ(bad.level, -1.0f); // "garbage" capacity and no energies
    EXPECT_EQ(bad.state, Battery::StateCharging);
}

TEST(PowerSupplyFixtures, CapacityFromEmptyToFullIsAReadingPastFullIsNot)
{
    QTemporaryDir dir;
    const QString bat = QStringLiteral("sys/class/power_supply/BAT0/");
    testsupport::writeFile(dir.path(), bat + "type", "Battery\n");
    testsupport::writeFile(dir.path(), bat + "status", "Full\n");
    for (auto [capacity, level] : {std::pair{"0\n", 0.0f}, {"100\n", 1.0f}, {"101\n", -1.0f}}) {
        testsupport::writeFile(dir.path(), bat + "capacity", capacity);
        const PowerSupplyReading r = PowerSupply::read(dir.path().toStdString());
        EXPECT_EQ(r.level, level) << capacity;
        EXPECT_EQ(r.state, Battery::StateFull) << capacity;
        EXPECT_EQ(LinuxBattery(dir.path().toStdString()).level(), level) << capacity;
    }
}

TEST(PowerSupplyStatus, HeldAtTheChargeLimitCountsAsFull)
{
    EXPECT_EQ(PowerSupply::stateFromStatus("Not charging"), Battery::StateFull);
    EXPECT_EQ(PowerSupply::stateFromStatus("Unknown"), Battery::StateUnknown);
}

TEST(LinuxBatteryPoll, EmitsOnlyWhatChanged)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    const auto set = [&](const char* file, const char* value) {
        testsupport::writeFile(root, QString("sys/class/power_supply/BAT0/") + file, value);
    };
    set("type", "Battery\n");
    set("capacity", "40\n");
    set("status", "Discharging\n");

    LinuxBattery battery(root.toStdString());
    std::vector<std::string> posted;
    QObject::connect(&battery, &Battery::levelChanged, [&] { posted.push_back("level"); });
    QObject::connect(&battery, &Battery::stateChanged, [&] { posted.push_back("state"); });

    battery.setMonitoringEnabled(true);
    battery.poll();
    EXPECT_TRUE(posted.empty()); // nothing changed since monitoring began

    set("capacity", "41\n");
    battery.poll();
    EXPECT_EQ(posted, std::vector<std::string>{"level"});

    posted.clear();
    set("status", "Charging\n");
    battery.poll();
    EXPECT_EQ(posted, std::vector<std::string>{"state"});
    EXPECT_EQ(battery.state(), Battery::StateCharging);
    EXPECT_FLOAT_EQ(battery.level(), 0.41f);

    // The timer drives the same poll every two seconds.
    posted.clear();
    set("capacity", "42\n");
    EXPECT_TRUE(
        testsupport::waitUntil([&] { return !posted.empty(); },
                               std::chrono::milliseconds(LinuxBattery::kPollMilliseconds * 3)));
}
