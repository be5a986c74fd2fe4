#pragma once

#include <optional>
#include <string>

// Who this device is: the names a user gave it and the OS it runs.
class DeviceIdentity {
public:
    virtual ~DeviceIdentity() = default;

    // Pretty host name, else the host name.
    virtual std::string name() = 0;
    // os-release NAME and VERSION_ID; empty when the file has none.
    virtual std::string systemName() = 0;
    virtual std::string systemVersion() = 0;
    // A stable identifier for this application on this machine, derived from
    // the machine ID so the raw ID is never shown; nullopt without a machine ID.
    virtual std::optional<std::string> uniqueIdentifier() = 0;
    // Every Linux desktop runs applications side by side.
    virtual bool multitaskingSupported() { return true; }
};
