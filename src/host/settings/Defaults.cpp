#include "host/settings/Defaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
QString g_standardPath;
std::unique_ptr<Defaults> g_standard;
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

// QSettings keeps parsed files in a process-wide cache and forgets a format
// error on a cache hit, so the check reads a private copy of the file.
static bool parsesCleanly(const QString& path)
{
    if (!QFile::exists(path))
        return true;
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("check.conf"));
    if (!dir.isValid() || !QFile::copy(path, copy))
        return true;
    QSettings probe(copy, QSettings::IniFormat);
    return probe.status() != QSettings::FormatError;
}

Defaults::Defaults(const QString& path) : m_path(path)
{
    if (!parsesCleanly(path)) {
        // Read nothing from a file we cannot parse, and never write back
        // over it by accident: keep the settings in memory until a write.
        m_broken = true;
        return;
    }
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

Defaults::~Defaults() = default;

long long Defaults::integerForKey(const QString& key) const
{
    bool ok = false;
    const long long v = value(key).toLongLong(&ok);
    if (ok)
        return v;
    // Stored as a real number ("3.0"): truncate like an integer read would.
    const double d = value(key).toDouble(&ok);
    return ok ? static_cast<long long>(d) : 0;
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
    return value(key).toDouble();
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
    return m_settings ? m_settings->value(key) : m_memory.value(key);
}

bool Defaults::hasKey(const QString& key) const
{
    return m_settings ? m_settings->contains(key) : m_memory.contains(key);
}

void Defaults::prepareWrite()
{
    if (!m_broken)
        return;
    // The user changed a setting: keep the unreadable file for them to look
    // at and start a fresh one with what is in memory.
    const QString aside = m_path + QStringLiteral(".broken");
    QFile::remove(aside);
    QFile::rename(m_path, aside);
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    for (auto it = m_memory.cbegin(); it != m_memory.cend(); ++it)
        m_settings->setValue(it.key(), it.value());
    m_memory.clear();
    m_broken = false;
}

void Defaults::setInteger(long long value, const QString& key)
{
    setObject(QVariant::fromValue(value), key);
}

void Defaults::setBool(bool value, const QString& key)
{
    setObject(QVariant(value), key);
}

void Defaults::setDouble(double value, const QString& key)
{
    setObject(QVariant(value), key);
}

void Defaults::setObject(const QVariant& value, const QString& key)
{
    prepareWrite();
    m_settings->setValue(key, value);
}

void Defaults::removeObjectForKey(const QString& key)
{
    prepareWrite();
    m_settings->remove(key);
}

bool Defaults::synchronize()
{
    if (m_broken)
        return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
