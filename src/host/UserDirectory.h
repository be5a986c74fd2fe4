#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The user database: login names by user id.
class UserDirectory {
public:
    virtual ~UserDirectory() = default;

    // The login name of uid, or nullopt when the database has no entry.
    virtual std::optional<std::string> userName(std::uint32_t uid) = 0;
};
