#include "host/system/MailtoUrl.h"

#include <QUrl>

QByteArray MailtoUrl::encodeField(const QString& value)
{
    // Lone LF or CR become the CRLF the RFC asks for.
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return QUrl::toPercentEncoding(text);
}

QByteArray MailtoUrl::build(const QString& recipient, const QString& subject, const QString& body)
{
    // The address keeps its "@"; anything else that could end it is encoded.
    QByteArray url = "mailto:" + QUrl::toPercentEncoding(recipient, "@");
    char separator = '?';
    const auto add = [&](const char* name, const QString& value) {
        if (value.isEmpty())
            return;
        url += separator;
        url += name;
        url += '=';
        url += encodeField(value);
        separator = '&';
    };
    add("subject", subject);
    add("body", body);
    return url;
}
