#include "host/system/PasswdUserDirectory.h"

#include <cerrno>
#include <pwd.h>
#include <vector>

std::optional<std::string> PasswdUserDirectory::userName(std::uint32_t uid)
{
    std::vector<char> buffer(1024);
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        const int rc = ::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
        // A large group database can need more room than the usual entry.
        if (rc == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (rc != 0 || !found || !found->pw_name)
            return std::nullopt;
        return std::string(found->pw_name);
    }
}
