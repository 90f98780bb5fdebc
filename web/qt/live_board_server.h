#pragma once
// The live board's web server, on Qt HttpServer: the pages and their script
// and style (shipped inside the program), the JSON API, the results and their
// downloads, and the live updates over a WebSocket on the same port. It only
// serves what it was handed (published) and never reads a request's path
// anywhere but in the fixed list of web/request_rules.h.
//
// It protects the race, not only itself: connections and browsers are
// counted and capped, a request may only be so big and must arrive in time,
// a connection that does not take its answers is closed, a browser that
// cannot keep up gets the latest board once it has caught up (every update is
// the whole board) or is dropped, and a browser that answers no ping is gone.
// The rules are those of web/client_limits.h; the server measures and obeys.
//
// QHttpServer 6.4 hands a WebSocket handshake on only when handleRequest()
// claims the request without answering it (a route that answers writes its
// response into the handshake; no route gives 404), so the server subclasses
// QAbstractHttpServer and claims the handshakes of "/live" itself.

#include "web/client_limits.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

class QWebSocket;

namespace kesto {

class GuardedTcpServer;

// What the server hands out, made on the timer's thread and never changed
// afterwards (a new publication replaces the old).
struct WebPublication {
    QByteArray racePage, openedPage; // results pages
    QByteArray resultsJson;
    std::map<QByteArray, QByteArray> downloads; // "race/summary.txt" -> bytes
};

class LiveBoardServer final : public QAbstractHttpServer {
    Q_OBJECT
public:
    using Clock = std::function<int64_t()>; // milliseconds, steady

    // `now` is the steady clock of the limits (tests pass their own); the
    // sweep that enforces them runs every second unless `sweepEveryMs` is 0.
    explicit LiveBoardServer(WebLimits limits = {}, Clock now = {}, int sweepEveryMs = 1000,
                             QObject* parent = nullptr);
    ~LiveBoardServer() override;

    // Listens on every address; false when the port is taken.
    bool Listen(quint16 port, const QHostAddress& address = QHostAddress::Any);
    quint16 Port() const;

    // The board as JSON: sent to every browser that keeps up, served by /api/board.
    void PublishBoard(const QByteArray& boardJson);
    void PublishResults(std::shared_ptr<const WebPublication> results);
    // The meeting's standings page; empty while no meeting is open (404).
    void PublishStandings(const QByteArray& page);

    int Browsers() const { return static_cast<int>(m_browsers.size()); }
    // Bytes of board updates the browsers have not taken yet, all together.
    qint64 UnsentToBrowsers() const;
    int Connections() const;
    int RequestsUnderway() const;
    // Closes what the limits say must go, and pings the browsers.
    void Sweep();

signals:
    void BrowsersChanged(int browsers);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct Browser {
        QWebSocket* socket = nullptr;
        QTcpSocket* tcp = nullptr; // under the WebSocket, to see what it has not taken
        BrowserConnection state;
        qint64 lastPingMs = 0;
        bool missedUpdate = false;
    };

    void TakeWebSockets();
    void Admit(QWebSocket* socket);
    void SendBoard(Browser& browser);
    void CaughtUp(QWebSocket* socket);
    void Drop(QWebSocket* socket);
    void Answer(const QHttpServerRequest& request, QTcpSocket* socket);
    qint64 Unsent(const Browser& browser) const;

    WebLimits m_limits;
    Clock m_now;
    GuardedTcpServer* m_tcp = nullptr;
    QTimer m_sweep;
    QByteArray m_board = QByteArrayLiteral("{}");
    std::shared_ptr<const WebPublication> m_results;
    QByteArray m_standings;
    QHash<QWebSocket*, Browser> m_browsers;
    QByteArray m_page, m_tvPage, m_driverPage, m_script, m_style;
};

} // namespace kesto
