#include "web/qt/live_board_server.h"

#include "web/qt/guarded_tcp_server.h"
#include "web/request_rules.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QWebSocket>

// The pages ship inside the program (live_board_pages.qrc); a static library
// registers its resources when asked.
static void InitLiveBoardPages() {
    Q_INIT_RESOURCE(live_board_pages);
}

namespace kesto {

namespace {

using Status = QHttpServerResponder::StatusCode;

QByteArray Page(const char* name) {
    QFile file(QStringLiteral(":/kesto/web/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

WebMethod MethodOf(const QHttpServerRequest& request) {
    switch (request.method()) {
    case QHttpServerRequest::Method::Get:
        return WebMethod::Get;
    case QHttpServerRequest::Method::Head:
        return WebMethod::Head;
    default:
        return WebMethod::Other;
    }
}

bool IsWebSocketHandshake(const QHttpServerRequest& request) {
    return request.value(QByteArrayLiteral("upgrade")).compare("websocket", Qt::CaseInsensitive) ==
           0;
}

QByteArray ErrorText(int status) {
    switch (status) {
    case 400:
        return QByteArrayLiteral("400 Bad Request: the live board has no such page.\n");
    case 404:
        return QByteArrayLiteral("404 Not Found: the live board has no such page.\n");
    case 405:
        return QByteArrayLiteral("405 Method Not Allowed: the live board only shows, with GET.\n");
    case 414:
        return QByteArrayLiteral("414 URI Too Long.\n");
    case 426:
        return QByteArrayLiteral("426 Upgrade Required: the live updates are a WebSocket.\n");
    default:
        return QByteArray::number(status) + '\n';
    }
}

// The board's own WebSocket close code for "come back later": a private one
// (4000-4999), as Qt 6.4's client takes RFC 6455's 1013 for an invalid code.
constexpr auto TryAgainLater = static_cast<QWebSocketProtocol::CloseCode>(4013);

int64_t SteadyMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

} // namespace

LiveBoardServer::LiveBoardServer(WebLimits limits, Clock now, int sweepEveryMs, QObject* parent)
    : QAbstractHttpServer(parent), m_limits(limits), m_now(now ? std::move(now) : Clock(SteadyMs)) {
    InitLiveBoardPages();
    m_page = Page("board.html");
    m_tvPage = m_page;
    m_tvPage.replace("<body class=\"board\">", "<body class=\"board tv\">");
    m_driverPage = Page("driver.html");
    m_script = Page("board.js");
    m_style = Page("board.css");
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this,
            &LiveBoardServer::TakeWebSockets);
    connect(&m_sweep, &QTimer::timeout, this, &LiveBoardServer::Sweep);
    if (sweepEveryMs > 0)
        m_sweep.start(sweepEveryMs);
}

LiveBoardServer::~LiveBoardServer() {
    const QList<QWebSocket*> sockets = m_browsers.keys();
    m_browsers.clear();
    for (QWebSocket* socket : sockets) {
        socket->disconnect(this);
        delete socket;
    }
}

bool LiveBoardServer::Listen(quint16 port, const QHostAddress& address) {
    auto* tcp = new GuardedTcpServer(m_limits, m_now, this);
    if (!tcp->listen(address, port)) {
        delete tcp;
        return false;
    }
    bind(tcp);
    m_tcp = tcp;
    return true;
}

quint16 LiveBoardServer::Port() const {
    return m_tcp ? m_tcp->serverPort() : 0;
}

int LiveBoardServer::Connections() const {
    return m_tcp ? m_tcp->Connections() : 0;
}

int LiveBoardServer::RequestsUnderway() const {
    return m_tcp ? m_tcp->RequestsUnderway() : 0;
}

void LiveBoardServer::PublishBoard(const QByteArray& boardJson) {
    m_board = boardJson;
    for (Browser& browser : m_browsers)
        SendBoard(browser);
}

void LiveBoardServer::PublishResults(std::shared_ptr<const WebPublication> results) {
    m_results = std::move(results);
}

void LiveBoardServer::PublishStandings(const QByteArray& page) {
    m_standings = page;
}

qint64 LiveBoardServer::Unsent(const Browser& browser) const {
    return browser.tcp ? browser.tcp->bytesToWrite() : 0;
}

qint64 LiveBoardServer::UnsentToBrowsers() const {
    qint64 unsent = 0;
    for (const Browser& browser : m_browsers)
        unsent += Unsent(browser);
    return unsent;
}

void LiveBoardServer::SendBoard(Browser& browser) {
    if (MaySendBoard(static_cast<size_t>(Unsent(browser)), m_limits)) {
        browser.socket->sendBinaryMessage(m_board);
        browser.missedUpdate = false;
        return;
    }
    // Every update is the whole board: it gets the latest once it has caught up.
    browser.missedUpdate = true;
    if (browser.state.behindSinceMs < 0)
        browser.state.behindSinceMs = m_now();
}

void LiveBoardServer::CaughtUp(QWebSocket* socket) {
    auto it = m_browsers.find(socket);
    if (it == m_browsers.end() || Unsent(*it) > 0)
        return;
    it->state.behindSinceMs = -1;
    if (it->missedUpdate)
        SendBoard(*it);
}

void LiveBoardServer::TakeWebSockets() {
    while (hasPendingWebSocketConnections())
        Admit(nextPendingWebSocketConnection().release());
}

void LiveBoardServer::Admit(QWebSocket* socket) {
    socket->setParent(this);
    if (Browsers() >= m_limits.maxBrowsers) {
        // Told in words, then closed: the page shows the text and tries later.
        const std::string full = "{\"full\":\"" + BoardFullText(m_limits.maxBrowsers) + "\"}";
        socket->sendBinaryMessage(QByteArray::fromStdString(full));
        socket->close(TryAgainLater, QString::fromLatin1(BoardFullReason));
        connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
        return;
    }
    socket->setMaxAllowedIncomingFrameSize(m_limits.maxIncomingMessage);
    socket->setMaxAllowedIncomingMessageSize(m_limits.maxIncomingMessage);
    Browser browser;
    browser.socket = socket;
    // The TCP connection under it: the one whose handshake came from its port.
    for (QTcpSocket* tcp : m_tcp->findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) {
        if (tcp->peerPort() == socket->peerPort() && tcp->peerAddress() == socket->peerAddress())
            browser.tcp = tcp;
    }
    browser.state.lastPongMs = browser.lastPingMs = m_now();
    // What a browser says is of no interest: the board is read-only.
    connect(socket, &QWebSocket::pong, this, [this, socket] {
        auto it = m_browsers.find(socket);
        if (it != m_browsers.end())
            it->state.lastPongMs = m_now();
    });
    connect(socket, &QWebSocket::bytesWritten, this, [this, socket] { CaughtUp(socket); });
    connect(socket, &QWebSocket::disconnected, this, [this, socket] { Drop(socket); });
    auto it = m_browsers.insert(socket, browser);
    // A browser that comes mid-race gets the whole board at once.
    SendBoard(*it);
    emit BrowsersChanged(Browsers());
}

void LiveBoardServer::Drop(QWebSocket* socket) {
    if (m_browsers.remove(socket) == 0)
        return;
    socket->abort();
    socket->deleteLater();
    emit BrowsersChanged(Browsers());
}

void LiveBoardServer::Sweep() {
    if (m_tcp)
        m_tcp->Sweep();
    const int64_t now = m_now();
    QList<QWebSocket*> gone;
    for (Browser& browser : m_browsers) {
        if (JudgeBrowser(browser.state, now, m_limits) == Verdict::Close) {
            gone.append(browser.socket);
        } else if (now - browser.lastPingMs >= m_limits.pingEveryMs) {
            browser.lastPingMs = now;
            browser.socket->ping();
        }
    }
    for (QWebSocket* socket : gone)
        Drop(socket);
}

bool LiveBoardServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    // A connection that does not take its answers gets no more of them.
    if (static_cast<size_t>(socket->bytesToWrite()) > m_limits.maxUnsentBytes) {
        socket->abort();
        return true;
    }
    size_t headerBytes = static_cast<size_t>(request.url().toEncoded().size());
    for (const auto& [name, value] : request.headers())
        headerBytes += static_cast<size_t>(name.size() + value.size()) + 4;
    if (HeadersTooLarge(headerBytes, m_limits)) {
        makeResponder(request, socket)
            .write(QByteArrayLiteral("431 Request Header Fields Too Large.\n"), "text/plain",
                   Status::RequestHeaderFieldsTooLarge);
        m_tcp->Answered(socket);
        return true;
    }
    const bool handshake = IsWebSocketHandshake(request);
    const WebRoute route =
        RouteRequest(MethodOf(request), request.url().path().toStdString(), handshake);
    if (route.resource == WebResource::LiveUpdates) {
        // Claimed without an answer: the server hands the socket to its
        // WebSocket side, which answers the handshake.
        m_tcp->Upgraded(socket);
        return true;
    }
    Answer(request, socket);
    m_tcp->Answered(socket);
    return true;
}

void LiveBoardServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    makeResponder(request, socket).write(ErrorText(404), "text/plain", Status::NotFound);
}

void LiveBoardServer::Answer(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder responder = makeResponder(request, socket);
    const WebRoute route = RouteRequest(MethodOf(request), request.url().path().toStdString(),
                                        IsWebSocketHandshake(request));
    auto send = [&responder](const QByteArray& body, const QByteArray& type) {
        responder.write(body, {{"Content-Type", type},
                               {"Cache-Control", "no-store"},
                               {"X-Content-Type-Options", "nosniff"}});
    };
    const QByteArray html = "text/html; charset=utf-8";
    const std::shared_ptr<const WebPublication> results = m_results;
    switch (route.resource) {
    case WebResource::BoardPage:
        return send(m_page, html);
    case WebResource::TvPage:
        return send(m_tvPage, html);
    case WebResource::DriverPage:
        return send(m_driverPage, html);
    case WebResource::Script:
        return send(m_script, "text/javascript; charset=utf-8");
    case WebResource::Style:
        return send(m_style, "text/css; charset=utf-8");
    case WebResource::ApiBoard:
        return send(m_board, "application/json");
    case WebResource::ApiResults:
        return send(results ? results->resultsJson
                            : QByteArrayLiteral("{\"race\":null,\"opened\":null}"),
                    "application/json");
    case WebResource::RaceResults:
    case WebResource::OpenedResults: {
        const bool opened = route.resource == WebResource::OpenedResults;
        if (results)
            return send(opened ? results->openedPage : results->racePage, html);
        break;
    }
    case WebResource::Standings:
        if (!m_standings.isEmpty())
            return send(m_standings, html);
        break;
    case WebResource::Download: {
        if (!results)
            break;
        const auto found = results->downloads.find(QByteArray::fromStdString(route.download));
        if (found == results->downloads.end())
            break;
        const std::string name = route.download.substr(route.download.find('/') + 1);
        responder.write(
            found->second,
            {{"Content-Type", QByteArray::fromStdString(DownloadContentType(name))},
             {"Content-Disposition", QByteArray("attachment; filename=\"") + name.c_str() + '"'},
             {"Cache-Control", "no-store"},
             {"X-Content-Type-Options", "nosniff"}});
        return;
    }
    case WebResource::LiveUpdates:
    case WebResource::None:
        if (route.status == 405) {
            responder.write(ErrorText(405), {{"Content-Type", "text/plain"}, {"Allow", "GET"}},
                            Status::MethodNotAllowed);
            return;
        }
        responder.write(ErrorText(route.status), "text/plain", static_cast<Status>(route.status));
        return;
    }
    responder.write(ErrorText(404), "text/plain", Status::NotFound);
}

} // namespace kesto
