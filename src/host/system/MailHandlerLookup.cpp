#include "host/system/MailHandlerLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

QStringList envList(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    QStringList dirs =
        (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return dirs;
}

QString envDir(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// The desktop IDs listed for the MIME type in one group of a file.
QStringList entries(const QString& file, const QString& group)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList found;
    QString current;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (current != group || eq <= 0)
            continue;
        if (line.left(eq).trimmed() == QLatin1String(MailHandlerLookup::kMimeType))
            found += line.mid(eq + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    for (QString& id : found)
        id = id.trimmed();
    return found;
}

// A desktop ID names applications/<id>, or a subfolder for each "-" in it.
std::optional<QString> resolve(const QString& id, const QStringList& dataDirs)
{
    if (!id.endsWith(QLatin1String(".desktop")) || id.contains(QLatin1Char('/')))
        return std::nullopt;
    for (const QString& dir : dataDirs) {
        const QString base = dir + QStringLiteral("/applications/");
        QString candidate = id;
        for (;;) {
            if (QFileInfo(base + candidate).isFile())
                return base + candidate;
            const qsizetype dash = candidate.indexOf(QLatin1Char('-'));
            if (dash < 0)
                break;
            candidate[dash] = QLatin1Char('/');
        }
    }
    return std::nullopt;
}

} // namespace

MailHandlerLookup::Paths MailHandlerLookup::fromEnvironment()
{
    Paths p;
    const QString home = QDir::homePath();
    p.configDirs << envDir("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))
                 << envList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    p.dataDirs << envDir("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))
               << envList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& d : envList("XDG_CURRENT_DESKTOP", {}))
        p.desktops << d.toLower();
    return p;
}

std::optional<QString> MailHandlerLookup::handler(const Paths& paths)
{
    // mimeapps.list files, most important first.
    QStringList lists;
    const auto addLists = [&](const QString& dir) {
        for (const QString& desktop : paths.desktops)
            lists << dir + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
        lists << dir + QStringLiteral("/mimeapps.list");
    };
    for (const QString& dir : paths.configDirs)
        addLists(dir);
    for (const QString& dir : paths.dataDirs)
        addLists(dir + QStringLiteral("/applications"));

    // A removal in a file hides the association in that file and below it.
    QSet<QString> removed;
    const auto pick = [&](const QStringList& ids) -> std::optional<QString> {
        for (const QString& id : ids)
            if (!removed.contains(id))
                if (auto file = resolve(id, paths.dataDirs))
                    return file;
        return std::nullopt;
    };
    for (const QString& list : lists) {
        for (const QString& id : entries(list, QStringLiteral("Removed Associations")))
            removed.insert(id);
        if (auto file = pick(entries(list, QStringLiteral("Default Applications"))))
            return file;
        if (auto file = pick(entries(list, QStringLiteral("Added Associations"))))
            return file;
    }
    // The older defaults, then what installed applications declare.
    for (const QString& dir : paths.dataDirs)
        if (auto file = pick(entries(dir + QStringLiteral("/applications/defaults.list"),
                                     QStringLiteral("Default Applications"))))
            return file;
    for (const QString& dir : paths.dataDirs)
        if (auto file = pick(entries(dir + QStringLiteral("/applications/mimeinfo.cache"),
                                     QStringLiteral("MIME Cache"))))
            return file;
    return std::nullopt;
}
