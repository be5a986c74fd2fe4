#pragma once
// A hand-set process table and user database for the process collector.

#include "host/ProcessTable.h"
#include "host/UserDirectory.h"

#include <map>

namespace fakes {

struct Processes : ProcessTable {
    std::optional<std::vector<ProcessRecord>> table = std::vector<ProcessRecord>{};
    int reads = 0;
    std::optional<std::vector<ProcessRecord>> processes() override
    {
        ++reads;
        return table;
    }
    void add(std::int32_t pid, std::uint32_t uid, std::string comm = "p", std::int64_t start = 0)
    {
        table->push_back(ProcessRecord{std::move(comm), pid, 0, pid, 0, uid, start});
    }
};

struct Users : UserDirectory {
    std::map<std::uint32_t, std::string> names;
    std::optional<std::string> userName(std::uint32_t uid) override
    {
        const auto it = names.find(uid);
        return it == names.end() ? std::nullopt : std::optional(it->second);
    }
};

} // namespace fakes
