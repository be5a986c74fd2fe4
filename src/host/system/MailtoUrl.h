#pragma once

#include <QByteArray>
#include <QString>

// A mailto: link (RFC 6068) that carries a recipient, subject and body to the
// mail program unchanged: everything but the unreserved characters is
// percent-encoded as UTF-8 ("&", "?", "#", "%", "+" and "=" included, so a
// crafted host name cannot add a header), and line breaks travel as CRLF.
class MailtoUrl {
public:
    static QByteArray build(const QString& recipient, const QString& subject, const QString& body);
    // One field's value as the link carries it.
    static QByteArray encodeField(const QString& value);
};
