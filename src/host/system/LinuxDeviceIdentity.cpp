#include "host/system/LinuxDeviceIdentity.h"

#include "host/system/HostFile.h"
#include "host/KernelFacts.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

#include <cctype>

LinuxDeviceIdentity::LinuxDeviceIdentity(KernelFacts& facts, std::string root)
    : m_facts(facts), m_root(std::move(root))
{
}

std::string LinuxDeviceIdentity::name()
{
    if (auto pretty = m_facts.prettyHostname())
        return *pretty;
    const auto id = m_facts.identity();
    return id ? id->hostname : std::string();
}

std::string LinuxDeviceIdentity::systemName()
{
    return m_facts.osRelease().name.value_or("");
}

std::string LinuxDeviceIdentity::systemVersion()
{
    return m_facts.osRelease().version_id.value_or("");
}

std::optional<std::string> LinuxDeviceIdentity::uniqueIdentifier()
{
    const auto machineId = hostfile::readLine(hostfile::join(m_root, "/etc/machine-id"));
    if (!machineId)
        return std::nullopt;
    return appSpecificId(*machineId, kAppId);
}

std::optional<std::string> LinuxDeviceIdentity::appSpecificId(const std::string& machineIdHex,
                                                              const std::string& appIdHex)
{
    const auto decode = [](const std::string& hex) -> std::optional<QByteArray> {
        if (hex.size() != 32)
            return std::nullopt;
        for (char c : hex)
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
        return QByteArray::fromHex(QByteArray::fromStdString(hex));
    };
    const auto key = decode(machineIdHex);
    const auto app = decode(appIdHex);
    if (!key || !app)
        return std::nullopt;
    QByteArray digest =
        QMessageAuthenticationCode::hash(*app, *key, QCryptographicHash::Sha256).left(16);
    digest[6] = static_cast<char>((digest[6] & 0x0F) | 0x40);
    digest[8] = static_cast<char>((digest[8] & 0x3F) | 0x80);
    return digest.toHex().toStdString();
}
