#pragma once

#include <string>

// Which interface plays the Wi-Fi role and which the cellular one. The
// settings "WifiInterface" and "CellularInterface" name them when the
// automatic choice is wrong; otherwise the Wi-Fi interface is the first (by
// name) with a wireless directory in sysfs, the cellular one the first WWAN
// device (DEVTYPE=wwan, or a name starting with "wwan"). Empty: none.
class InterfaceRoles {
public:
    static constexpr const char* WifiKey = "WifiInterface";
    static constexpr const char* CellularKey = "CellularInterface";

    // sysRoot is the folder that holds sys/class/net (default "/").
    explicit InterfaceRoles(std::string sysRoot = "/");

    std::string wifiInterface() const;
    std::string cellularInterface() const;

private:
    std::string m_sysRoot;
};
