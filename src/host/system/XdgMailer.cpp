#include "host/system/XdgMailer.h"

#include "host/HostLog.h"
#include "host/system/MailtoUrl.h"

#include <QProcess>
#include <QTimer>

#include <memory>

XdgMailer::XdgMailer(MailHandlerLookup::Paths paths, QString program, QObject* parent)
    : QObject(parent), m_paths(std::move(paths)), m_program(std::move(program))
{
}

bool XdgMailer::canSendMail() const
{
    return MailHandlerLookup::handler(m_paths).has_value();
}

void XdgMailer::compose(const Message& message, Finished finished)
{
    const QByteArray url = MailtoUrl::build(message.recipient, message.subject, message.body);
    auto* process = new QProcess(this);
    process->setProgram(m_program);
    process->setArguments({QString::fromLatin1(url)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // Answered once: by the exit, a failed start or the hand-over time.
    auto done = std::make_shared<Finished>(std::move(finished));
    const auto answer = [done](bool ok, const QString& error) {
        if (Finished f = std::exchange(*done, Finished{}))
            f(ok, error);
    };
    const QString name = m_program;
    connect(
        process, &QProcess::errorOccurred, this, [process, answer, name](QProcess::ProcessError e) {
            if (e != QProcess::FailedToStart)
                return;
            qCWarning(lcHost) << "mail program:" << name << "could not be started";
            answer(
                false,
                QStringLiteral("The mail program could not be started (%1 is missing).").arg(name));
            process->deleteLater();
        });
    connect(process, &QProcess::finished, this,
            [process, answer](int code, QProcess::ExitStatus status) {
                if (status == QProcess::NormalExit && code == 0)
                    answer(true, {});
                else
                    answer(false, QStringLiteral("The mail program could not open the message "
                                                 "(exit status %1).")
                                      .arg(status == QProcess::NormalExit ? code : -1));
                process->deleteLater();
            });
    QTimer::singleShot(m_handOver, process, [answer] { answer(true, {}); });
    process->start();
}
