#pragma once

#include <QString>

#include <functional>

// Composing mail through the desktop's mail program. The Details report and
// the About page's feedback share one Mailer.
class Mailer {
public:
    struct Message {
        QString recipient; // empty: the user fills it in
        QString subject;
        QString body;
    };
    // ok is false when the mail program could not be started or failed;
    // error is then one line for the user.
    using Finished = std::function<void(bool ok, const QString& error)>;

    virtual ~Mailer() = default;

    // Whether a mail program is registered for mailto: links; read from the
    // desktop's own association files, without starting anything.
    virtual bool canSendMail() const = 0;
    // Opens a new mail in the mail program; never blocks. finished is called
    // on the calling thread once the hand-over succeeded or failed.
    virtual void compose(const Message& message, Finished finished = {}) = 0;
};
