#include "host/journal/KernelRingReader.h"

#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace {

double nowOn(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// Undoes the kernel's \xNN escapes of unprintable bytes.
QByteArray unescape(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            bool ok = false;
            const int byte = text.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out += static_cast<char>(byte);
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace

KernelRingReader::KernelRingReader(QString path, BootTime bootTime)
    : m_path(std::move(path)), m_bootTime(std::move(bootTime))
{
    if (!m_bootTime)
        m_bootTime = [] { return nowOn(CLOCK_REALTIME) - nowOn(CLOCK_MONOTONIC); };
}

bool KernelRingReader::isAvailable()
{
    const int fd = ::open(m_path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::vector<LogRecord> KernelRingReader::newest(std::size_t limit, std::stop_token stop)
{
    const int fd = ::open(m_path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    // The device hands out one record per read and EAGAIN at the end; a
    // plain file hands out blocks and 0 at the end.
    QByteArray bytes;
    char buffer[8192];
    while (!stop.stop_requested()) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            if (bytes.back() != '\n')
                bytes.append('\n');
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EPIPE)
            continue; // records overwritten while we read: go on with the next
        break;
    }
    ::close(fd);
    return parse(bytes, m_bootTime(), limit);
}

std::vector<LogRecord> KernelRingReader::parse(const QByteArray& bytes, double bootTime,
                                               std::size_t limit)
{
    std::vector<LogRecord> out;
    const QList<QByteArray> lines = bytes.split('\n');
    for (auto it = lines.rbegin(); it != lines.rend() && out.size() < limit; ++it) {
        const QByteArray& line = *it;
        if (line.isEmpty() || line.front() == ' ')
            continue;
        const qsizetype semicolon = line.indexOf(';');
        if (semicolon < 0)
            continue;
        const QList<QByteArray> fields = line.left(semicolon).split(',');
        bool okPriority = false;
        bool okStamp = false;
        const int priority = fields.value(0).toInt(&okPriority);
        const qulonglong usec = fields.value(2).toULongLong(&okStamp);
        if (fields.size() < 3 || !okPriority || !okStamp || priority < 0)
            continue;
        const double when = bootTime + static_cast<double>(usec) / 1e6;
        LogRecord record;
        record.insert(QStringLiteral("Time"), QString::number(when, 'f', 6));
        record.insert(QStringLiteral("Level"), QString::number(priority & 7));
        record.insert(QStringLiteral("Sender"), QStringLiteral("kernel"));
        record.insert(QStringLiteral("Message"),
                      QString::fromUtf8(unescape(line.mid(semicolon + 1))));
        out.push_back(std::move(record));
    }
    return out;
}
