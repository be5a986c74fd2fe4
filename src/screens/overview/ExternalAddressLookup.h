#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <chrono>

class Defaults;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// The machine's public IPv4 address, asked of a web service on request: the
// service answers the caller's address as the whole body. The fetch runs in
// the background; one lookup at a time; anything but a well-formed address
// ends in "N/A". A lookup that takes longer than the time-out, or a body
// larger than a few hundred bytes, is given up. Only http and https services
// with a valid port are asked.
class ExternalAddressLookup : public QObject {
    Q_OBJECT
public:
    // The settings key of the service: a URL, or a base such as
    // "http://host:port" (or "host:port") that gets kPath.
    static constexpr const char* kServiceKey = "ExternalAddressURL";
    // Used as given when the key is absent or empty.
    static constexpr const char* kDefaultService = "https://api.ipify.org";
    static constexpr const char* kPath = "/get_ip_addr";
    static constexpr const char* kLoading = "Loading...";
    static constexpr const char* kNotAvailable = "N/A";
    // Shown in demonstration mode instead of a real answer (a documentation
    // address, so screenshots leak nothing).
    static constexpr const char* kDemoAddress = "203.0.113.42";
    static constexpr int kMaxBodyBytes = 256;
    static constexpr std::chrono::milliseconds kDefaultTimeout{10000};

    // The service is read from `defaults` at each lookup.
    explicit ExternalAddressLookup(Defaults& defaults, QObject* parent = nullptr);
    ~ExternalAddressLookup() override;

    // "N/A", "Loading..." or the address.
    QString externalIP() const { return m_externalIP; }
    bool loadingIP() const { return m_loadingIP; }
    // Requests sent so far, and the body bytes the last one took in.
    int requestCount() const { return m_requests; }
    int bodyBytesRead() const { return static_cast<int>(m_body.size()); }

    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    std::chrono::milliseconds timeout() const { return m_timeout; }

    // What the "Reload" button does: show "Loading..." and start a lookup
    // unless one is running. In demo mode the answer is kDemoAddress.
    void clickMe(bool demo);

    // The URL to ask for the setting's value: the default service as given
    // when it is empty, a value without a path (or "/") and without a query
    // gets kPath, any other value is used as given. Empty when the value is
    // not an http(s) URL with a valid port.
    static QUrl lookupUrl(const QString& setting);
    // What inet_aton accepts, after trimming the line end a service sends.
    static bool isIpv4Address(const QByteArray& body);

Q_SIGNALS:
    // The text changed ("Loading..." shown, or the lookup ended).
    void externalIPChanged();

private:
    void loadIP(bool demo);
    void onReadyRead();
    void takeBody(QNetworkReply* reply);
    void onMetaData();
    void onFinished();
    void notifyLoaded(const QString& result);

    QNetworkAccessManager* network();

    QString m_externalIP = QString::fromLatin1(kNotAvailable);
    Defaults& m_defaults;
    bool m_loadingIP = false;
    int m_requests = 0;
    std::chrono::milliseconds m_timeout = kDefaultTimeout;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_deadline = nullptr;
    QByteArray m_body;
    bool m_refused = false; // too large or too late: the answer is "N/A"
};
