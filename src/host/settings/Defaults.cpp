#include "host/settings/Defaults.h"

#include "host/HostLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString g_standardPath;
std::unique_ptr<Defaults> g_standard;

struct FileCheck {
    enum State { Absent, Usable, Refused };
    State state = Absent;
    QString why;      // for the log when refused
    QByteArray bytes; // the file's content when usable
};

FileCheck refused(const QString& why)
{
    return {FileCheck::Refused, why, {}};
}

// stat() before open(): opening a FIFO would block start-up, and a huge file
// would be read whole by QSettings. The open itself does not block
// (O_NONBLOCK), and fstat() checks that what we opened is still the file we
// looked at.
FileCheck examine(const QString& path, bool readBytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        return refused(QStringLiteral("cannot be examined (%1)")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
    }
    if (!S_ISREG(st.st_mode))
        return refused(QStringLiteral("is not a regular file"));
    if (st.st_size > Defaults::kMaxFileBytes)
        return refused(QStringLiteral("is larger than %1 bytes").arg(Defaults::kMaxFileBytes));
    if (!readBytes)
        return {FileCheck::Usable, {}, {}};

    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? FileCheck{}
                               : refused(QStringLiteral("cannot be opened (%1)")
                                             .arg(QString::fromLocal8Bit(std::strerror(errno))));
    FileCheck check{FileCheck::Usable, {}, {}};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        check = refused(QStringLiteral("is not a regular file"));
    } else {
        // Read one byte past the limit to notice a file that grew meanwhile.
        QByteArray bytes(Defaults::kMaxFileBytes + 1, Qt::Uninitialized);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n =
                ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        bytes.truncate(got);
        if (got > Defaults::kMaxFileBytes)
            check = refused(QStringLiteral("is larger than %1 bytes").arg(Defaults::kMaxFileBytes));
        else
            check.bytes = bytes;
    }
    ::close(fd);
    return check;
}

// QSettings keeps parsed files in a process-wide cache and forgets a format
// error on a cache hit, so the check parses a private copy of the bytes.
bool parsesCleanly(const QByteArray& bytes)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return true;
    QFile copy(dir.filePath(QStringLiteral("check.conf")));
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
        return true;
    copy.close();
    QSettings probe(copy.fileName(), QSettings::IniFormat);
    return probe.status() != QSettings::FormatError;
}

// Moves the broken file to the first free "<path>.broken", ".broken.1", ...
// without ever replacing an earlier copy (RENAME_NOREPLACE, or a look first
// on file systems without it). A file already gone counts as moved.
bool moveAside(const QString& path, QString* movedTo)
{
    const QByteArray from = QFile::encodeName(path);
    for (int n = 0; n < 100000; ++n) {
        QString to = path + QStringLiteral(".broken");
        if (n > 0)
            to += QLatin1Char('.') + QString::number(n);
        const QByteArray target = QFile::encodeName(to);
        int rc =
            ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            struct stat st {};
            if (::lstat(target.constData(), &st) == 0)
                continue;
            rc = ::rename(from.constData(), target.constData());
        }
        if (rc == 0) {
            *movedTo = to;
            return true;
        }
        if (errno == EEXIST)
            continue;
        return errno == ENOENT;
    }
    return false;
}

// A stored number as an integer, or 0 when it has none (nan, inf) or does
// not fit: the cast alone would be undefined.
long long integerFromDouble(double d)
{
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (!std::isfinite(d) || d >= kLimit || d < -kLimit)
        return 0;
    return static_cast<long long>(d);
}
} // namespace

Defaults& Defaults::standardUserDefaults()
{
    if (!g_standard)
        g_standard = std::make_unique<Defaults>(standardPath());
    return *g_standard;
}

void Defaults::setStandardPath(const QString& path)
{
    g_standardPath = path;
    g_standard.reset();
}

QString Defaults::standardPath()
{
    if (!g_standardPath.isEmpty())
        return g_standardPath;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/welvane/welvane.conf");
}

Defaults::Defaults(const QString& path) : m_path(path)
{
    FileCheck check = examine(path, true);
    if (check.state == FileCheck::Usable && !parsesCleanly(check.bytes))
        check = refused(QStringLiteral("cannot be parsed"));
    if (check.state == FileCheck::Refused) {
        // Read nothing from it and never write over it by accident: the
        // settings stay in memory until the user changes one.
        qCWarning(lcHost).noquote()
            << "settings file" << path << check.why
            << "- using the defaults; it is kept until a setting is changed";
        m_broken = true;
        return;
    }
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

Defaults::~Defaults() = default;

bool Defaults::loadedBrokenFile() const
{
    std::lock_guard lock(m_lock);
    return m_broken;
}

long long Defaults::integerForKey(const QString& key) const
{
    const QVariant v = value(key);
    const int type = v.typeId();
    if (type == QMetaType::ULongLong)
        return v.toULongLong() > static_cast<qulonglong>(LLONG_MAX) ? 0 : v.toLongLong();
    bool ok = false;
    if (type != QMetaType::Double && type != QMetaType::Float) {
        const long long n = v.toLongLong(&ok);
        if (ok)
            return n;
    }
    // Stored as a real number ("3.0"): truncate like an integer read would.
    const double d = v.toDouble(&ok);
    return ok ? integerFromDouble(d) : 0;
}

bool Defaults::boolForKey(const QString& key) const
{
    const QVariant v = value(key);
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().toLower();
        return s == QLatin1String("true") || s == QLatin1String("yes") || s.toLongLong() != 0;
    }
    return v.toBool();
}

double Defaults::doubleForKey(const QString& key) const
{
    const double d = value(key).toDouble();
    return std::isfinite(d) ? d : 0.0;
}

QString Defaults::stringForKey(const QString& key) const
{
    return value(key).toString();
}

QVariant Defaults::objectForKey(const QString& key) const
{
    return value(key);
}

QVariant Defaults::value(const QString& key) const
{
    std::lock_guard lock(m_lock);
    return m_settings ? m_settings->value(key) : m_memory.value(key);
}

bool Defaults::hasKey(const QString& key) const
{
    std::lock_guard lock(m_lock);
    return m_settings ? m_settings->contains(key) : m_memory.contains(key);
}

bool Defaults::prepareWrite(WriteKind kind)
{
    if (!m_broken)
        return true;
    if (kind == Bookkeeping)
        return false;
    // The user changed a setting: keep the broken file for them to look at
    // and start a fresh one with what is in memory.
    QString movedTo;
    if (!moveAside(m_path, &movedTo)) {
        if (!m_warnedWrite)
            qCWarning(lcHost).noquote()
                << "settings file" << m_path
                << "could not be moved aside; changes are kept in memory only";
        m_warnedWrite = true;
        return false;
    }
    if (!movedTo.isEmpty())
        qCInfo(lcHost).noquote() << "broken settings file kept as" << movedTo;
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    for (auto it = m_memory.cbegin(); it != m_memory.cend(); ++it)
        m_settings->setValue(it.key(), it.value());
    m_memory.clear();
    m_broken = false;
    return true;
}

void Defaults::setInteger(long long value, const QString& key, WriteKind kind)
{
    setObject(QVariant::fromValue(value), key, kind);
}

void Defaults::setBool(bool value, const QString& key, WriteKind kind)
{
    setObject(QVariant(value), key, kind);
}

void Defaults::setDouble(double value, const QString& key, WriteKind kind)
{
    setObject(QVariant(value), key, kind);
}

void Defaults::setObject(const QVariant& value, const QString& key, WriteKind kind)
{
    std::lock_guard lock(m_lock);
    if (prepareWrite(kind))
        m_settings->setValue(key, value);
    else
        m_memory.insert(key, value);
}

void Defaults::removeObjectForKey(const QString& key, WriteKind kind)
{
    std::lock_guard lock(m_lock);
    if (prepareWrite(kind))
        m_settings->remove(key);
    else
        m_memory.remove(key);
}

bool Defaults::synchronize()
{
    std::lock_guard lock(m_lock);
    if (m_broken)
        return false;
    // QSettings re-reads a file that changed on disk before it writes: never
    // let it open something that appeared there since (a FIFO would hang).
    const FileCheck now = examine(m_path, false);
    if (now.state == FileCheck::Refused) {
        if (!m_warnedWrite)
            qCWarning(lcHost).noquote() << "settings file" << m_path << now.why << "- not written";
        m_warnedWrite = true;
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
