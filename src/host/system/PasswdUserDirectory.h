#pragma once

#include "host/UserDirectory.h"

// The system's user database through getpwuid_r (NSS: files, LDAP, ...).
class PasswdUserDirectory : public UserDirectory {
public:
    std::optional<std::string> userName(std::uint32_t uid) override;
};
