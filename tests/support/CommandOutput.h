#pragma once

#include <QString>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace testsupport {

// Trimmed standard output of a standard tool (uname, getconf, awk...), for
// comparing what the application reads with what the system says.
// Started with posix_spawn rather than QProcess: Qt starts children with
// vfork, and a vfork child running instrumented code corrupts the parent's
// ThreadSanitizer state (false races on the main stack afterwards).
inline QString commandOutput(const QString& program, const QStringList& args = {})
{
    std::vector<std::string> words{program.toStdString()};
    for (const QString& a : args)
        words.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    QByteArray out;
    char buffer[4096];
    while (!failed) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(fds[0]);
    if (!failed)
        ::waitpid(pid, nullptr, 0);
    return QString::fromLocal8Bit(out).trimmed();
}

} // namespace testsupport
