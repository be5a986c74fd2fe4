#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace testsupport {

std::string fixture(const std::string& relative)
{
    return std::string(WELVANE_FIXTURES) + "/" + relative;
}

QString outputDir()
{
    const QString dir = QStringLiteral(WELVANE_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}

bool waitUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > limit.count())
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

void writeFile(const QString& dir, const QString& relative, const QByteArray& text)
{
    const QString path = dir + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

} // namespace testsupport
