#pragma once

#include <QUrl>

// Hands an address to the desktop (the web browser, the software centre);
// never blocks.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void openURL(const QUrl& url) = 0;
};
