#pragma once

#include <QByteArray>

#include <chrono>

// Asks a D-Bus bus over its raw socket whether it answers at all: connect,
// AUTH EXTERNAL, BEGIN and Hello, all non-blocking under one time limit. QtDBus
// opens connections in one shared thread that cannot be cancelled and that the
// program waits for at exit, so a bus that accepts and never replies must be
// caught here before QtDBus sees it. Blocks the calling thread for at most the
// limit: call it from a worker, never the UI thread.
class BusProbe {
public:
    enum class Result {
        Answered,    // the bus daemon replied to Hello
        Silent,      // connected, but no answer within the limit
        Unreachable, // no socket, refused, rejected, or an address we cannot use
    };

    static constexpr std::chrono::milliseconds kLimit{300};

    // Tries each address of a ';'-separated D-Bus address list (unix path= and
    // abstract= transports) in turn under one shared limit.
    static Result probe(const QByteArray& address, std::chrono::milliseconds limit = kLimit);

    // $DBUS_SYSTEM_BUS_ADDRESS, else the well-known system socket.
    static QByteArray systemAddress();
    // $DBUS_SESSION_BUS_ADDRESS, else $XDG_RUNTIME_DIR/bus; empty when neither.
    static QByteArray sessionAddress();

    // The Hello method call to the bus daemon, serial 1, little-endian.
    static QByteArray helloMessage();
};
