#pragma once

#include "host/RouteRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The kernel routing table, all tables, IPv4 then IPv6.
class RouteDump {
public:
    virtual ~RouteDump() = default;

    // Calls each(record) for every route in kernel order. False when the
    // table could not be read (records delivered before the failure may
    // have been passed on already).
    virtual bool dump(const std::function<void(const RouteRecord&)>& each) = 0;

    // Calls each(record) for the routes of the main table of family
    // (routefamily::Inet or Inet6; 0 for both), at least: a reader may pass
    // more, the caller filters. This plain version reads every table.
    virtual bool dumpMainTable(std::uint8_t family,
                               const std::function<void(const RouteRecord&)>& each)
    {
        return dump([&](const RouteRecord& r) {
            if (r.table == routetable::Main &&
                (family == 0 || r.sa[RouteRecord::Destination].family() == family))
                each(r);
        });
    }

    // The name of an interface as of the last dump; absent when unknown.
    virtual std::optional<std::string> interfaceName(std::uint32_t index) const = 0;
};
