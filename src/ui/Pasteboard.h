#pragma once

#include <QString>

namespace ui {

// The general pasteboard: the desktop clipboard, as plain text.
class Pasteboard {
public:
    static Pasteboard& generalPasteboard();

    void setString(const QString& text);
    QString string() const;

private:
    Pasteboard() = default;
};

} // namespace ui
