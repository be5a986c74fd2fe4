#pragma once

#include <QString>
#include <QStringList>

// The Qt platform plugins this installation has. Qt aborts the process when
// asked for a platform it cannot load, so the name is checked first.
class PlatformPlugins {
public:
    // The plugins' keys ("xcb", "offscreen", ...), lower case, read from the
    // metadata of the files in every "platforms" folder Qt searches; the
    // libraries are not loaded.
    static QStringList available();
    // Whether a platform choice ("xcb", "offscreen:fontengine=freetype",
    // "wayland;xcb") names a plugin in `keys`. Nothing known (no plugin
    // folder found) accepts every name and leaves the verdict to Qt.
    static bool accepts(const QString& choice, const QStringList& keys);
};
