#include "screens/about/VideoPageFetch.h"

#include "screens/ScreensLog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

VideoPageFetch::VideoPageFetch(QUrl fallback, QObject* parent)
    : QObject(parent), m_fallback(std::move(fallback)), m_deadline(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] {
        qCInfo(lcScreens) << "video page: no answer in time; opening the fallback video";
        m_failed = true;
        if (m_reply)
            m_reply->abort(); // finished follows
    });
}

VideoPageFetch::~VideoPageFetch()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QUrl VideoPageFetch::addressIn(const QByteArray& body)
{
    const QUrl url(QString::fromUtf8(body.trimmed()), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url;
}

bool VideoPageFetch::start(const QUrl& page)
{
    if (m_reply)
        return false;
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_body.clear();
    m_failed = false;
    ++m_fetches;
    QNetworkRequest request(page);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(kMaxBodyBytes + 1);
    connect(m_reply, &QNetworkReply::readyRead, this, &VideoPageFetch::readSome);
    connect(m_reply, &QNetworkReply::finished, this, &VideoPageFetch::end);
    m_deadline->start(m_timeout);
    return true;
}

void VideoPageFetch::readSome()
{
    if (!m_reply || m_failed)
        return;
    m_body += m_reply->read(kMaxBodyBytes + 1 - m_body.size());
    if (m_body.size() > kMaxBodyBytes) {
        qCInfo(lcScreens) << "video page: body over" << kMaxBodyBytes
                          << "bytes; opening the fallback video";
        m_failed = true;
        m_reply->abort();
    }
}

void VideoPageFetch::end()
{
    m_deadline->stop();
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    readSome(); // what came with the end
    m_reply = nullptr;
    reply->deleteLater();
    QUrl video;
    if (!m_failed && reply->error() == QNetworkReply::NoError)
        video = addressIn(m_body);
    if (video.isEmpty()) {
        if (!m_failed)
            qCInfo(lcScreens).noquote()
                << "video page:"
                << (reply->error() ? reply->errorString() : QStringLiteral("no web address"))
                << "- opening the fallback video";
        video = m_fallback;
    }
    Q_EMIT finished(video);
}
