#pragma once

#include "host/DeviceIdentity.h"

#include <optional>
#include <string>

class KernelFacts;

// DeviceIdentity from /etc/machine-info, /etc/os-release and /etc/machine-id
// under a root directory.
class LinuxDeviceIdentity : public DeviceIdentity {
public:
    // facts supplies the host names and os-release; it must outlive this object.
    LinuxDeviceIdentity(KernelFacts& facts, std::string root = "/");

    std::string name() override;
    std::string systemName() override;
    std::string systemVersion() override;
    std::optional<std::string> uniqueIdentifier() override;

    // This application's fixed 128-bit ID, the input of the derivation.
    static constexpr const char* kAppId = "5b1e9a4c0d7f4e2a9c3b8d6f1a2e4c70";

    // The systemd scheme for application-specific machine IDs: HMAC-SHA256
    // keyed with the 16 machine-ID bytes over the 16 app-ID bytes, first 16
    // bytes of the digest, marked as a version-4 UUID; 32 lower-case hex
    // digits. nullopt when either ID is not 32 hex digits.
    static std::optional<std::string> appSpecificId(const std::string& machineIdHex,
                                                    const std::string& appIdHex);

private:
    KernelFacts& m_facts;
    std::string m_root;
};
