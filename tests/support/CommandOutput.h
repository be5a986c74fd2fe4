#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testsupport {

// Trimmed standard output of a standard tool (uname, nproc, awk...), for
// comparing what the application reads with what the system says.
inline QString commandOutput(const QString& program, const QStringList& args = {})
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

} // namespace testsupport
