#pragma once

#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

// Path of a file under tests/fixtures.
std::string fixture(const std::string& relative);

// Folder for pictures and other output that people look at after a run.
QString outputDir();

// Runs the event loop until pred() holds or the time is up; returns pred().
bool waitUntil(const std::function<bool()>& pred,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

// Writes text to dir/relative, creating folders on the way.
void writeFile(const QString& dir, const QString& relative, const QByteArray& text);

} // namespace testsupport
