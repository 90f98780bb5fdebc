#include "web/qt/guarded_tcp_server.h"

namespace kesto {

GuardedTcpServer::GuardedTcpServer(const WebLimits& limits, std::function<int64_t()> now,
                                   QObject* parent)
    : QTcpServer(parent), m_limits(limits), m_now(std::move(now)) {}

void GuardedTcpServer::Prune() {
    for (auto it = m_tracked.begin(); it != m_tracked.end();) {
        if (it->socket.isNull())
            it = m_tracked.erase(it);
        else
            ++it;
    }
}

int GuardedTcpServer::Connections() {
    Prune();
    return static_cast<int>(m_tracked.size());
}

void GuardedTcpServer::incomingConnection(qintptr handle) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    if (Connections() >= m_limits.maxConnections) {
        // Refused before a byte is read: nothing of it stays in memory.
        socket->abort();
        socket->deleteLater();
        return;
    }
    Tracked tracked;
    tracked.socket = socket;
    tracked.http.lastAnsweredMs = m_now();
    m_tracked.insert(socket, tracked);
    // Connected before the HTTP server's own slot, so it sees the bytes first.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Received(socket); });
    addPendingConnection(socket);
}

void GuardedTcpServer::Received(QTcpSocket* socket) {
    auto it = m_tracked.find(socket);
    if (it == m_tracked.end() || it->upgraded)
        return;
    HttpConnection& http = it->http;
    if (http.requestStartedMs < 0)
        http.requestStartedMs = m_now();
    http.bytesSinceAnswer += static_cast<size_t>(socket->bytesAvailable());
    if (http.bytesSinceAnswer > m_limits.maxRequestBytes) {
        // Nothing of it is handed on: the connection goes as it is.
        socket->readAll();
        socket->abort();
        socket->deleteLater();
    }
}

int GuardedTcpServer::RequestsUnderway() {
    Prune();
    int underway = 0;
    for (const Tracked& tracked : std::as_const(m_tracked))
        underway += !tracked.upgraded && tracked.http.requestStartedMs >= 0;
    return underway;
}

void GuardedTcpServer::Answered(QTcpSocket* socket) {
    auto it = m_tracked.find(socket);
    if (it == m_tracked.end())
        return;
    it->http.lastAnsweredMs = m_now();
    it->http.requestStartedMs = -1;
    it->http.bytesSinceAnswer = 0;
    // Pipelined requests already waiting start their own count.
    if (socket->bytesAvailable() > 0) {
        it->http.requestStartedMs = it->http.lastAnsweredMs;
        it->http.bytesSinceAnswer = static_cast<size_t>(socket->bytesAvailable());
    }
}

void GuardedTcpServer::Upgraded(QTcpSocket* socket) {
    auto it = m_tracked.find(socket);
    if (it != m_tracked.end())
        it->upgraded = true;
}

void GuardedTcpServer::Sweep() {
    Prune();
    const int64_t now = m_now();
    for (Tracked& tracked : m_tracked) {
        if (tracked.upgraded)
            continue;
        if (JudgeHttpConnection(tracked.http, now, m_limits) == Verdict::Close) {
            tracked.socket->abort();
            tracked.socket->deleteLater();
        }
    }
}

} // namespace kesto
