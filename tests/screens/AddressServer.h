#pragma once
// A one-route HTTP server on 127.0.0.1 for the external-address lookup.

#include <gtest/gtest.h>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

// Answers every request with the bytes the test chooses.
class AddressServer {
public:
    // Raw bytes sent back for a request; empty = never answer.
    std::function<QByteArray()> answer;
    int requests = 0;
    QByteArray lastRequest;

    AddressServer()
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    lastRequest += socket->readAll();
                    if (!lastRequest.contains("\r\n\r\n"))
                        return;
                    ++requests;
                    const QByteArray bytes = answer ? answer() : QByteArray();
                    if (!bytes.isEmpty()) {
                        socket->write(bytes);
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }
    QString base() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }

    static QByteArray ok(const QByteArray& body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    QTcpServer m_server;
};
