#pragma once

#include "host/Battery.h"

#include <cstdint>
#include <optional>
#include <string>

// One reading of /sys/class/power_supply: the system batteries (type
// Battery, not of a peripheral) folded into one level and state.
struct PowerSupplyReading {
    int batteries = 0;
    float level = -1.0f; // -1 without a battery
    Battery::State state = Battery::StateUnknown;
    std::optional<uint64_t> design_capacity_mah; // summed over the batteries
    std::optional<uint64_t> design_voltage_uv;   // of the first battery
};

class PowerSupply {
public:
    // Reads every supply under root/sys/class/power_supply.
    static PowerSupplyReading read(const std::string& root = "/");

    // "Charging" -> charging, "Discharging" -> unplugged, "Full" and
    // "Not charging" (held at the charge limit) -> full, anything else unknown.
    static Battery::State stateFromStatus(const std::string& status);
};
