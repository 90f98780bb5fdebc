#pragma once
// The live board's listening socket: every connection is counted and watched
// before the HTTP server sees it. Over the cap a connection is closed at once;
// a request that grows past its size or trickles in too slowly, and a kept-alive
// connection left idle, are closed by the sweep (web/client_limits.h). Once a
// connection becomes a WebSocket the browser rules of the server take over.

#include "web/client_limits.h"

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace kesto {

class GuardedTcpServer final : public QTcpServer {
    Q_OBJECT
public:
    GuardedTcpServer(const WebLimits& limits, std::function<int64_t()> now,
                     QObject* parent = nullptr);

    // Connections open now, WebSockets included.
    int Connections();
    // A request was answered: the next one starts afresh.
    void Answered(QTcpSocket* socket);
    // The connection is now a WebSocket: the HTTP rules no longer apply.
    void Upgraded(QTcpSocket* socket);
    // HTTP connections with a request begun but not yet answered.
    int RequestsUnderway();
    // Closes every HTTP connection the limits say must go.
    void Sweep();

protected:
    void incomingConnection(qintptr handle) override;

private:
    struct Tracked {
        QPointer<QTcpSocket> socket;
        HttpConnection http;
        bool upgraded = false;
    };

    void Received(QTcpSocket* socket);
    void Prune();

    const WebLimits& m_limits;
    std::function<int64_t()> m_now;
    QHash<QTcpSocket*, Tracked> m_tracked;
};

} // namespace kesto
