#include "shell/PageIcons.h"

#include <QGuiApplication>
#include <QHash>
#include <QIcon>

QString PageIcons::themeNameFor(const QString& name)
{
    static const QHash<QString, QString> theme = {
        {QStringLiteral("monitor.png"), QStringLiteral("utilities-system-monitor")},
        {QStringLiteral("clock.png"), QStringLiteral("preferences-system-time")},
        {QStringLiteral("database.png"), QStringLiteral("folder-music")},
        {QStringLiteral("connections.png"), QStringLiteral("network-transmit-receive")},
        {QStringLiteral("move.png"), QStringLiteral("network-workgroup")},
        {QStringLiteral("graph.png"), QStringLiteral("media-flash")},
        {QStringLiteral("photos.png"), QStringLiteral("system-run")},
        {QStringLiteral("preferences.png"), QStringLiteral("computer")},
        {QStringLiteral("newspaper.png"), QStringLiteral("text-x-generic")},
        {QStringLiteral("house.png"), QStringLiteral("help-about")},
    };
    return theme.value(name);
}

// The artwork is compiled into a static library: register it before use.
static void initResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

QPixmap PageIcons::imageNamed(const QString& name)
{
    initResources();
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const QString themed = themeNameFor(name);
    if (!themed.isEmpty() && !QIcon::themeName().isEmpty() && QIcon::hasThemeIcon(themed)) {
        QPixmap pm = QIcon::fromTheme(themed).pixmap(QSize(kSize, kSize), dpr);
        if (!pm.isNull())
            return pm;
    }
    QPixmap own(QStringLiteral(":/icons/") + name);
    if (own.isNull())
        return {};
    // Our icons are drawn at twice the logical size for sharp high-density screens.
    own.setDevicePixelRatio(own.width() / static_cast<qreal>(kSize));
    return own;
}
