#include "host/dbus/BusProbe.h"

#include <QFileInfo>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Undoes the %XX escapes of a D-Bus address value.
QByteArray unescape(const QByteArray& value)
{
    return QByteArray::fromPercentEncoding(value);
}

// The socket address of one "unix:path=..." or "unix:abstract=..." entry.
std::optional<std::pair<sockaddr_un, socklen_t>> unixAddress(const QByteArray& entry)
{
    if (!entry.startsWith("unix:"))
        return std::nullopt;
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    for (const QByteArray& pair : entry.mid(5).split(',')) {
        const qsizetype eq = pair.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = pair.left(eq);
        const QByteArray value = unescape(pair.mid(eq + 1));
        const bool abstract = key == "abstract";
        if (key != "path" && !abstract)
            continue;
        // The abstract namespace starts with a NUL and is not NUL-terminated.
        const std::size_t offset = abstract ? 1 : 0;
        if (value.isEmpty() || offset + std::size_t(value.size()) >= sizeof(sa.sun_path))
            return std::nullopt;
        std::memcpy(sa.sun_path + offset, value.constData(), std::size_t(value.size()));
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + offset +
                                      std::size_t(value.size()) + (abstract ? 0 : 1));
        return std::make_pair(sa, length);
    }
    return std::nullopt;
}

class Deadline {
public:
    explicit Deadline(Clock::time_point end) : m_end(end) {}
    int remainingMs() const
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_end - Clock::now());
        return left.count() > 0 ? int(left.count()) : 0;
    }

private:
    Clock::time_point m_end;
};

// Waits for `events` on `fd`; false on time-out or error.
bool await(int fd, short events, const Deadline& deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, deadline.remainingMs());
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0 && (p.revents & events);
    }
}

enum class Step { Done, TimedOut, Failed };

Step sendAll(int fd, QByteArray data, const Deadline& deadline)
{
    while (!data.isEmpty()) {
        const ssize_t n = ::send(fd, data.constData(), std::size_t(data.size()), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!await(fd, POLLOUT, deadline))
                return deadline.remainingMs() ? Step::Failed : Step::TimedOut;
            continue;
        }
        return Step::Failed;
    }
    return Step::Done;
}

// Reads until `complete` says the bytes so far suffice.
template <typename Complete>
Step receive(int fd, QByteArray& into, const Deadline& deadline, Complete complete)
{
    char buf[512];
    while (!complete(into)) {
        if (!await(fd, POLLIN, deadline))
            return deadline.remainingMs() ? Step::Failed : Step::TimedOut;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n > 0)
            into.append(buf, n);
        else if (n == 0)
            return Step::Failed; // the bus hung up: it rejected us
        else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return Step::Failed;
    }
    return Step::Done;
}

BusProbe::Result resultOf(Step step)
{
    return step == Step::TimedOut ? BusProbe::Result::Silent : BusProbe::Result::Unreachable;
}

BusProbe::Result probeOne(const QByteArray& entry, const Deadline& deadline)
{
    const auto address = unixAddress(entry);
    if (!address)
        return BusProbe::Result::Unreachable;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return BusProbe::Result::Unreachable;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address->first), address->second) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            return BusProbe::Result::Unreachable;
        if (!await(fd, POLLOUT, deadline))
            return deadline.remainingMs() ? BusProbe::Result::Unreachable
                                          : BusProbe::Result::Silent;
        int error = 0;
        socklen_t len = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0)
            return BusProbe::Result::Unreachable;
    }

    // The credentials byte, then EXTERNAL with our uid in hex-encoded decimal.
    const QByteArray uid = QByteArray::number(uint(::getuid())).toHex();
    Step step = sendAll(fd, QByteArray(1, '\0') + "AUTH EXTERNAL " + uid + "\r\n", deadline);
    if (step != Step::Done)
        return resultOf(step);
    QByteArray line;
    step = receive(fd, line, deadline, [](const QByteArray& b) { return b.contains("\r\n"); });
    if (step != Step::Done)
        return resultOf(step);
    if (!line.startsWith("OK "))
        return BusProbe::Result::Unreachable;

    step = sendAll(fd, "BEGIN\r\n" + BusProbe::helloMessage(), deadline);
    if (step != Step::Done)
        return resultOf(step);
    // Any message back (the reply or an error) shows the daemon is alive.
    QByteArray reply;
    step = receive(fd, reply, deadline, [](const QByteArray& b) { return !b.isEmpty(); });
    if (step != Step::Done)
        return resultOf(step);
    return BusProbe::Result::Answered;
}

// Little-endian D-Bus marshalling, just enough for a header.
class Marshal {
public:
    void align(int n)
    {
        while (bytes.size() % n)
            bytes.append('\0');
    }
    void byte(char c) { bytes.append(c); }
    void uint32(quint32 v)
    {
        align(4);
        for (int i = 0; i < 4; ++i)
            bytes.append(char((v >> (8 * i)) & 0xff));
    }
    void string(const QByteArray& s)
    {
        uint32(quint32(s.size()));
        bytes.append(s);
        bytes.append('\0');
    }
    // One (yv) header field whose variant holds a string-like value.
    void field(char code, char type, const QByteArray& value)
    {
        align(8);
        byte(code);
        byte(1);
        byte(type);
        byte('\0');
        string(value);
    }
    QByteArray bytes;
};

} // namespace

QByteArray BusProbe::helloMessage()
{
    Marshal m;
    m.byte('l');                                  // little-endian
    m.byte(1);                                    // method call
    m.byte(0);                                    // no flags
    m.byte(1);                                    // protocol version
    m.uint32(0);                                  // empty body
    m.uint32(1);                                  // serial
    m.uint32(0);                                  // header field array length, patched below
    const qsizetype fieldsStart = m.bytes.size(); // 16: already 8-aligned
    m.field(1, 'o', "/org/freedesktop/DBus");
    m.field(6, 's', "org.freedesktop.DBus");
    m.field(2, 's', "org.freedesktop.DBus");
    m.field(3, 's', "Hello");
    const auto length = quint32(m.bytes.size() - fieldsStart);
    for (int i = 0; i < 4; ++i)
        m.bytes[12 + i] = char((length >> (8 * i)) & 0xff);
    m.align(8);
    return m.bytes;
}

BusProbe::Result BusProbe::probe(const QByteArray& address, std::chrono::milliseconds limit)
{
    const Deadline deadline(Clock::now() + limit);
    Result result = Result::Unreachable;
    for (const QByteArray& entry : address.split(';')) {
        if (entry.isEmpty())
            continue;
        result = probeOne(entry, deadline);
        if (result == Result::Answered || deadline.remainingMs() == 0)
            break;
    }
    return result;
}

QByteArray BusProbe::systemAddress()
{
    const QByteArray env = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    return env.isEmpty() ? QByteArray("unix:path=/var/run/dbus/system_bus_socket") : env;
}

QByteArray BusProbe::sessionAddress()
{
    const QByteArray env = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!env.isEmpty())
        return env;
    // Where systemd's user bus lives when the variable is not exported.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(QString::fromLocal8Bit(runtime + "/bus")))
        return "unix:path=" + runtime + "/bus";
    return {};
}
