#include "screens/overview/ExternalAddressLookup.h"

#include "host/settings/Defaults.h"
#include "screens/ScreensLog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <arpa/inet.h>

ExternalAddressLookup::ExternalAddressLookup(Defaults& defaults, QObject* parent)
    : QObject(parent), m_defaults(defaults)
{
    m_deadline = new QTimer(this);
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] {
        m_refused = true;
        if (m_reply)
            m_reply->abort();
    });
}

ExternalAddressLookup::~ExternalAddressLookup()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QNetworkAccessManager* ExternalAddressLookup::network()
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    return m_network;
}

QUrl ExternalAddressLookup::lookupUrl(const QString& setting)
{
    const QString service = setting.trimmed();
    if (service.isEmpty())
        return QUrl(QString::fromLatin1(kDefaultService));
    // A bare "host" or "host:port" is taken as a plain-HTTP service.
    QUrl url(service.contains(QLatin1String("://")) ? service : QStringLiteral("http://") + service,
             QUrl::TolerantMode);
    const QString scheme = url.scheme();
    // QUrl sends a port it cannot parse to the scheme's default port, and
    // would fetch file: URLs from disk: neither is a web service.
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty() || url.port() == 0) {
        static QString warned;
        if (warned != service)
            qCWarning(lcScreens) << "ExternalAddressURL" << service
                                 << "is not an http(s) URL with a valid port; not looked up";
        warned = service;
        return {};
    }
    if ((url.path().isEmpty() || url.path() == QLatin1String("/")) && !url.hasQuery())
        url.setPath(QString::fromLatin1(kPath));
    return url;
}

bool ExternalAddressLookup::isIpv4Address(const QByteArray& body)
{
    const QByteArray text = body.trimmed();
    // inet_aton stops at the first blank or NUL and accepts what came
    // before; the row would then show the junk after it.
    for (char c : text)
        if (c == '\0' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
            return false;
    in_addr address{};
    return !text.isEmpty() && inet_aton(text.constData(), &address) == 1;
}

void ExternalAddressLookup::clickMe(bool demo)
{
    m_externalIP = QString::fromLatin1(kLoading);
    Q_EMIT externalIPChanged();
    if (m_loadingIP)
        return;
    m_loadingIP = true;
    loadIP(demo);
}

void ExternalAddressLookup::loadIP(bool demo)
{
    if (demo) {
        // No network traffic for a demonstration: answer on the next turn of
        // the event loop, as a real lookup would.
        QTimer::singleShot(0, this, [this] { notifyLoaded(QString::fromLatin1(kDemoAddress)); });
        return;
    }
    m_body.clear();
    m_refused = false;
    const QUrl url = lookupUrl(m_defaults.stringForKey(QString::fromLatin1(kServiceKey)));
    if (url.isEmpty()) {
        QTimer::singleShot(0, this, [this] { notifyLoaded(QString::fromLatin1(kNotAvailable)); });
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    ++m_requests;
    m_reply = network()->get(request);
    // Never buffer more than one byte past the limit.
    m_reply->setReadBufferSize(kMaxBodyBytes + 1);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &ExternalAddressLookup::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &ExternalAddressLookup::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &ExternalAddressLookup::onFinished);
    m_deadline->start(m_timeout);
}

void ExternalAddressLookup::onMetaData()
{
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > kMaxBodyBytes) {
        m_refused = true;
        m_reply->abort();
    }
}

void ExternalAddressLookup::onReadyRead()
{
    if (m_reply)
        takeBody(m_reply);
}

void ExternalAddressLookup::takeBody(QNetworkReply* reply)
{
    if (m_refused)
        return;
    m_body += reply->read(kMaxBodyBytes + 1 - m_body.size());
    if (m_body.size() > kMaxBodyBytes) {
        m_refused = true;
        reply->abort();
    }
}

void ExternalAddressLookup::onFinished()
{
    m_deadline->stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    if (!m_refused && reply->error() == QNetworkReply::NoError)
        takeBody(reply); // whatever arrived with the end
    const bool good =
        !m_refused && reply->error() == QNetworkReply::NoError && isIpv4Address(m_body);
    notifyLoaded(good ? QString::fromLatin1(m_body.trimmed()) : QString::fromLatin1(kNotAvailable));
}

void ExternalAddressLookup::notifyLoaded(const QString& result)
{
    m_externalIP = result;
    m_loadingIP = false;
    Q_EMIT externalIPChanged();
}
