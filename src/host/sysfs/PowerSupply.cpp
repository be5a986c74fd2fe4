#include "host/sysfs/PowerSupply.h"

#include "host/system/HostFile.h"

#include <algorithm>
#include <vector>

namespace {

struct Cell {
    std::optional<uint64_t> capacity;                // percent
    std::optional<uint64_t> energy_now, energy_full; // µWh
    std::optional<uint64_t> design_mah;
    std::optional<uint64_t> voltage_uv;
    Battery::State state = Battery::StateUnknown;
};

Cell readCell(const std::string& dir)
{
    const auto num = [&](const char* name) { return hostfile::readNumber(dir + name); };
    Cell c;
    c.capacity = num("/capacity");
    if (c.capacity && *c.capacity > 100)
        c.capacity.reset();
    c.voltage_uv = num("/voltage_min_design");
    c.energy_now = num("/energy_now");
    c.energy_full = num("/energy_full");
    // Some batteries count charge (µAh) instead of energy; the design voltage
    // turns it into energy so cells of either kind can be summed.
    if ((!c.energy_now || !c.energy_full) && c.voltage_uv) {
        const auto chargeNow = num("/charge_now");
        const auto chargeFull = num("/charge_full");
        if (chargeNow && chargeFull) {
            c.energy_now = *chargeNow * *c.voltage_uv / 1000000;
            c.energy_full = *chargeFull * *c.voltage_uv / 1000000;
        }
    }
    if (auto charge = num("/charge_full_design"))
        c.design_mah = *charge / 1000;
    else if (auto energy = num("/energy_full_design"); energy && c.voltage_uv && *c.voltage_uv)
        c.design_mah = *energy * 1000 / *c.voltage_uv;
    if (auto status = hostfile::readLine(dir + "/status"))
        c.state = PowerSupply::stateFromStatus(*status);
    return c;
}

} // namespace

Battery::State PowerSupply::stateFromStatus(const std::string& status)
{
    if (status == "Charging")
        return Battery::StateCharging;
    if (status == "Discharging")
        return Battery::StateUnplugged;
    if (status == "Full" || status == "Not charging")
        return Battery::StateFull;
    return Battery::StateUnknown;
}

PowerSupplyReading PowerSupply::read(const std::string& root)
{
    const std::string base = hostfile::join(root, "/sys/class/power_supply");
    std::vector<Cell> cells;
    for (const auto& name : hostfile::list(base)) {
        const std::string dir = base + "/" + name;
        if (hostfile::readLine(dir + "/type").value_or("") != "Battery")
            continue;
        // Mice and headsets report their batteries with scope Device.
        if (hostfile::readLine(dir + "/scope").value_or("") == "Device")
            continue;
        if (hostfile::readLine(dir + "/present").value_or("1") == "0")
            continue;
        cells.push_back(readCell(dir));
    }

    PowerSupplyReading r;
    r.batteries = static_cast<int>(cells.size());
    if (cells.empty())
        return r;

    const bool allEnergy = std::all_of(cells.begin(), cells.end(), [](const Cell& c) {
        return c.energy_now && c.energy_full && *c.energy_full > 0;
    });
    if (cells.size() == 1 && cells[0].capacity) {
        r.level = static_cast<float>(*cells[0].capacity) / 100.0f;
    } else if (allEnergy) {
        uint64_t now = 0, full = 0;
        for (const auto& c : cells) {
            now += *c.energy_now;
            full += *c.energy_full;
        }
        r.level = std::min(1.0f, static_cast<float>(static_cast<double>(now) / full));
    } else {
        // Mixed or unreadable energies: the mean of the percentages read.
        uint64_t sum = 0;
        int n = 0;
        for (const auto& c : cells)
            if (c.capacity) {
                sum += *c.capacity;
                ++n;
            }
        if (n > 0)
            r.level = static_cast<float>(sum) / (100.0f * n);
    }

    const auto any = [&](Battery::State s) {
        return std::any_of(cells.begin(), cells.end(), [s](const Cell& c) { return c.state == s; });
    };
    if (any(Battery::StateCharging))
        r.state = Battery::StateCharging;
    else if (any(Battery::StateUnplugged))
        r.state = Battery::StateUnplugged;
    else if (any(Battery::StateFull))
        r.state = Battery::StateFull;

    for (const auto& c : cells)
        if (c.design_mah)
            r.design_capacity_mah = r.design_capacity_mah.value_or(0) + *c.design_mah;
    r.design_voltage_uv = cells.front().voltage_uv;
    return r;
}
