#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which desktop application opens mailto: links, read from the XDG MIME
// association files in-process (mimeapps.list in the config and application
// folders, then defaults.list and mimeinfo.cache), without starting anything.
// A handler counts only when its .desktop file exists.
class MailHandlerLookup {
public:
    struct Paths {
        QStringList configDirs; // XDG_CONFIG_HOME first, then XDG_CONFIG_DIRS
        QStringList dataDirs;   // XDG_DATA_HOME first, then XDG_DATA_DIRS
        QStringList desktops;   // XDG_CURRENT_DESKTOP, lower case
    };
    static constexpr const char* kMimeType = "x-scheme-handler/mailto";

    // The folders of this session, with the XDG defaults for unset variables.
    static Paths fromEnvironment();
    // The .desktop file of the preferred handler, or nullopt.
    static std::optional<QString> handler(const Paths& paths);
};
