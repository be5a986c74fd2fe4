#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;
class QTimer;

// Asks the video page which video to show: its body is the address. Runs in
// the background under a time-out and a body limit; one fetch at a time. Only
// an http or https address is taken: anything else, an error, a time-out or
// an oversized body gives the fallback.
class VideoPageFetch : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxBodyBytes = 4096;
    static constexpr std::chrono::milliseconds kDefaultTimeout{10000};

    explicit VideoPageFetch(QUrl fallback, QObject* parent = nullptr);
    ~VideoPageFetch() override;

    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Starts fetching `page` unless a fetch runs; false when one ran already.
    bool start(const QUrl& page);
    bool running() const { return m_reply != nullptr; }
    int fetchCount() const { return m_fetches; }

    // The address a page body names, trimmed; empty unless http(s) with a host.
    static QUrl addressIn(const QByteArray& body);

Q_SIGNALS:
    // The address to open: the page's answer or the fallback.
    void finished(const QUrl& video);

private:
    void readSome();
    void end();

    QUrl m_fallback;
    std::chrono::milliseconds m_timeout = kDefaultTimeout;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_deadline = nullptr;
    QByteArray m_body;
    bool m_failed = false;
    int m_fetches = 0;
};
