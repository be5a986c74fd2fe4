#pragma once

#include "host/UrlOpener.h"

// Opens addresses with the desktop's handler for their scheme (QDesktopServices,
// which starts xdg-open or asks the desktop portal without waiting for it).
class DesktopUrlOpener : public UrlOpener {
public:
    void openURL(const QUrl& url) override;
};
