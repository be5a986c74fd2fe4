#include "ui/DesktopUrlOpener.h"

#include "ui/UiLog.h"

#include <QDesktopServices>

void DesktopUrlOpener::openURL(const QUrl& url)
{
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcUi).noquote() << "no program opened" << url.toDisplayString();
}
