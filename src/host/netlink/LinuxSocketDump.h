#pragma once

#include "host/SocketDump.h"

#include <string>

// Socket lists from sock_diag (NETLINK_SOCK_DIAG), falling back to the
// /proc/net tables under root when sock_diag is refused. Linux has no
// divert sockets: that list is always unreadable.
class LinuxSocketDump : public SocketDump {
public:
    explicit LinuxSocketDump(std::string root = "/");

    bool list(List which, const std::function<void(const PcbRecord&)>& each) override;

    // Skips sock_diag (tests of the fallback).
    void setForceProcFallback(bool force) { m_forceProc = force; }

private:
    bool viaSockDiag(List which, const std::function<void(const PcbRecord&)>& each,
                     bool& delivered);
    bool viaProc(List which, const std::function<void(const PcbRecord&)>& each);

    std::string m_root;
    bool m_forceProc = false;
};
