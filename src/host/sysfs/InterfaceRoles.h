#pragma once

#include <string>

// Which interface plays the Wi-Fi role and which the cellular one. The
// settings "WifiInterface" and "CellularInterface" name them when the
// automatic choice is wrong; otherwise the Wi-Fi interface is the first (by
// name) with a wireless directory in sysfs, the cellular one the first WWAN
// device (DEVTYPE=wwan, or a name starting with "wwan"). Empty: none.
// This class looks at sysfs on every call; CachedInterfaceRoles keeps the
// automatic choice until the links change.
class InterfaceRoles {
public:
    static constexpr const char* WifiKey = "WifiInterface";
    static constexpr const char* CellularKey = "CellularInterface";

    struct Detected {
        std::string wifi;
        std::string cellular;
        bool operator==(const Detected&) const = default;
    };

    // sysRoot is the folder that holds sys/class/net (default "/").
    explicit InterfaceRoles(std::string sysRoot = "/");
    virtual ~InterfaceRoles() = default;

    virtual std::string wifiInterface() const;
    virtual std::string cellularInterface() const;

    // The automatic choice of both roles, settings ignored, from one listing.
    Detected detect() const;

protected:
    // The interface the setting names (trimmed); empty when unset.
    static std::string setting(const char* key);

private:
    std::string m_sysRoot;
};
