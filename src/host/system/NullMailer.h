#pragma once

#include "host/Mailer.h"

// A mailer for a desktop where no mail program can be found: nothing is ever
// sent, and callers show their "No Email Account Found" alert.
class NullMailer : public Mailer {
public:
    bool canSendMail() const override { return false; }
    void compose(const Message& message, Finished finished = {}) override;
};
