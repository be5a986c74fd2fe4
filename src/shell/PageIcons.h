#pragma once

#include <QPixmap>
#include <QString>

// The page-list and tab icons by their resource names ("monitor.png" …):
// the desktop's icon theme where it has a fitting icon, else our own.
class PageIcons {
public:
    static QPixmap imageNamed(const QString& name);
    // The freedesktop icon name tried first for a resource name, or empty.
    static QString themeNameFor(const QString& name);
    static constexpr int kSize = 26; // logical pixels
};
