#include "host/netlink/NetlinkSocket.h"

#include <cerrno>
#include <cstring>
#include <linux/netlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {
// The kernel fills dump datagrams up to the size of the largest receive seen
// (capped near 32 KiB), so a buffer of this size gets full batches.
constexpr std::size_t BufferSize = 64 * 1024;
// A dump that stalls is abandoned after this long rather than hanging a refresh.
constexpr int ReceiveTimeoutSeconds = 5;
} // namespace

NetlinkSocket::NetlinkSocket(int protocol)
{
    m_fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, protocol);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    timeval tv{ReceiveTimeoutSeconds, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    int size = 1 << 20; // fewer drops of a fast producer; a failure only costs speed
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        m_error = errno;
        ::close(m_fd);
        m_fd = -1;
    }
    m_buffer.resize(BufferSize);
}

void NetlinkSocket::writeHeader(std::vector<std::uint8_t>& bytes, std::uint16_t type)
{
    static_assert(HeaderLength == NLMSG_HDRLEN);
    nlmsghdr h{};
    h.nlmsg_len = std::uint32_t(bytes.size());
    h.nlmsg_type = type;
    h.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    std::memcpy(bytes.data(), &h, sizeof h);
}

bool NetlinkSocket::enableStrictChecking()
{
#ifdef NETLINK_GET_STRICT_CHK
    int on = 1;
    return m_fd >= 0 &&
           ::setsockopt(m_fd, SOL_NETLINK, NETLINK_GET_STRICT_CHK, &on, sizeof on) == 0;
#else
    return false;
#endif
}

NetlinkSocket::~NetlinkSocket()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool NetlinkSocket::dump(
    std::vector<std::uint8_t> request,
    const std::function<void(std::uint16_t type, netlink::Bytes payload)>& onMessage)
{
    if (m_fd < 0 || request.size() < sizeof(nlmsghdr))
        return false;
    nlmsghdr header;
    std::memcpy(&header, request.data(), sizeof header);
    header.nlmsg_len = std::uint32_t(request.size());
    header.nlmsg_seq = ++m_sequence;
    std::memcpy(request.data(), &header, sizeof header);

    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(m_fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&kernel),
                 sizeof kernel) < 0) {
        m_error = errno;
        return false;
    }
    for (;;) {
        const ssize_t n = ::recv(m_fd, m_buffer.data(), m_buffer.size(), 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_error = errno;
            return false;
        }
        if (n == 0)
            return false;
        int code = 0;
        switch (netlink::walkMessages(netlink::Bytes(m_buffer.data(), std::size_t(n)), onMessage,
                                      &code)) {
        case netlink::WalkEnd::More:
            break;
        case netlink::WalkEnd::Done:
            return true;
        case netlink::WalkEnd::Error:
            m_error = code;
            return false;
        case netlink::WalkEnd::Malformed:
            m_error = EPROTO;
            return false;
        }
    }
}
