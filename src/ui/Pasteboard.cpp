#include "ui/Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ui {

Pasteboard& Pasteboard::generalPasteboard()
{
    static Pasteboard board;
    return board;
}

void Pasteboard::setString(const QString& text)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

QString Pasteboard::string() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

} // namespace ui
