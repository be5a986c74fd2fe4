#include "app/PlatformPlugins.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

#include <cstdlib>

namespace {
QStringList searchFolders()
{
    QStringList folders;
    if (const char* own = std::getenv("QT_QPA_PLATFORM_PLUGIN_PATH"); own && *own)
        folders << QFile::decodeName(own);
    if (const char* paths = std::getenv("QT_PLUGIN_PATH"); paths && *paths)
        for (const QString& p :
             QFile::decodeName(paths).split(QLatin1Char(':'), Qt::SkipEmptyParts))
            folders << p + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    return folders;
}
} // namespace

QStringList PlatformPlugins::available()
{
    QStringList keys;
    for (const QString& folder : searchFolders()) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.so")}, QDir::Files)) {
            const QJsonObject meta = QPluginLoader(dir.filePath(name)).metaData();
            const QJsonArray pluginKeys = meta.value(QStringLiteral("MetaData"))
                                              .toObject()
                                              .value(QStringLiteral("Keys"))
                                              .toArray();
            for (const auto& key : pluginKeys)
                keys << key.toString().toLower();
        }
    }
    keys.removeDuplicates();
    return keys;
}

bool PlatformPlugins::accepts(const QString& choice, const QStringList& keys)
{
    if (keys.isEmpty())
        return true;
    // Qt tries each of a ';'-separated list in turn; options follow a ':'.
    for (const QString& entry : choice.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (keys.contains(entry.section(QLatin1Char(':'), 0, 0).trimmed().toLower()))
            return true;
    return false;
}
