#pragma once

#include "host/Mailer.h"
#include "host/system/MailHandlerLookup.h"

#include <QObject>

#include <chrono>

// Mail through the desktop's mail program: a mailto: link opened with
// xdg-open, started without waiting. "Can send mail" is a registered mailto:
// handler whose .desktop file exists, looked up in-process.
class XdgMailer : public QObject, public Mailer {
    Q_OBJECT
public:
    // A handler still running after this long has taken the mail over: its
    // mail program keeps running, and the caller hears success.
    static constexpr std::chrono::milliseconds kHandOver{10000};

    // program and its paths replace xdg-open and the session's folders in tests.
    explicit XdgMailer(MailHandlerLookup::Paths paths = MailHandlerLookup::fromEnvironment(),
                       QString program = QStringLiteral("xdg-open"), QObject* parent = nullptr);

    bool canSendMail() const override;
    void compose(const Message& message, Finished finished = {}) override;

    void setHandOver(std::chrono::milliseconds after) { m_handOver = after; }

private:
    MailHandlerLookup::Paths m_paths;
    QString m_program;
    std::chrono::milliseconds m_handOver = kHandOver;
};
