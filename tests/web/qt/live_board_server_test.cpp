// The live board's server on a real socket: what it serves, how it answers
// bad requests of every kind, and how it keeps slow, silent, greedy and
// surplus clients from costing the race anything. The limits' clock is the
// test's own; the sweep that enforces them is called by hand.
#include "web/qt/live_board_server.h"

#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <gtest/gtest.h>

namespace kesto {
namespace {

struct Reply {
    int status = 0; // 0: closed without an answer
    QByteArray head, body;
};

class LiveServer : public ::testing::Test {
protected:
    LiveServer() { Restart(); }

    void Restart() {
        server = std::make_unique<LiveBoardServer>(
            limits, [this] { return now; }, 0);
        ASSERT_TRUE(server->Listen(0, QHostAddress::LocalHost));
    }

    QUrl Url(const char* path) const {
        return QUrl(
            QStringLiteral("ws://127.0.0.1:%1%2").arg(server->Port()).arg(QLatin1String(path)));
    }

    // One raw request; the reply as far as it came before the connection
    // closed or a whole answer (headers and Content-Length bytes) arrived.
    Reply Exchange(const QByteArray& request) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, server->Port());
        socket.write(request);
        QByteArray bytes;
        bool closed = false;
        QObject::connect(&socket, &QTcpSocket::disconnected, [&] { closed = true; });
        static_cast<void>(QTest::qWaitFor(
            [&] {
                bytes += socket.readAll();
                const qsizetype end = bytes.indexOf("\r\n\r\n");
                if (closed || end < 0)
                    return closed;
                const QByteArray head = bytes.left(end).toLower();
                const qsizetype length = head.indexOf("content-length: ");
                const int size = length < 0 ? 0 : head.mid(length + 16).split('\r').first().toInt();
                return bytes.size() >= end + 4 + size;
            },
            5000));
        Reply reply;
        const qsizetype end = bytes.indexOf("\r\n\r\n");
        if (end < 0)
            return reply;
        reply.head = bytes.left(end);
        reply.body = bytes.mid(end + 4);
        reply.status = reply.head.mid(9, 3).toInt();
        return reply;
    }

    Reply Get(const QByteArray& path) {
        return Exchange("GET " + path + " HTTP/1.1\r\nHost: board\r\n\r\n");
    }

    WebLimits limits;
    int64_t now = 0;
    std::unique_ptr<LiveBoardServer> server;
};

TEST_F(LiveServer, ServesThePagesTheirFilesAndTheBoardItWasGiven) {
    Reply page = Get("/");
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.head.contains("Content-Type: text/html; charset=utf-8"));
    EXPECT_TRUE(page.body.contains("<body class=\"board\">"));
    EXPECT_TRUE(Get("/tv").body.contains("<body class=\"board tv\">"));
    EXPECT_TRUE(Get("/driver").body.contains("<body class=\"driver\">"));
    EXPECT_TRUE(Get("/board.js").body.contains("new WebSocket"));
    EXPECT_EQ(Get("/board.css").status, 200);

    server->PublishBoard(R"({"clock":"0:42"})");
    const Reply board = Get("/api/board");
    EXPECT_TRUE(board.head.contains("Content-Type: application/json"));
    EXPECT_EQ(board.body, R"({"clock":"0:42"})");

    auto results = std::make_shared<WebPublication>();
    results->racePage = "<p>race</p>";
    results->downloads["race/summary.txt"] = "text report";
    server->PublishResults(results);
    EXPECT_EQ(Get("/results").body, "<p>race</p>");
    const Reply download = Get("/results/race/summary.txt");
    EXPECT_EQ(download.body, "text report");
    EXPECT_TRUE(download.head.contains("attachment; filename=\"summary.txt\""));
    EXPECT_EQ(Get("/results/race/laps.pdf").status, 404); // not offered
}

TEST_F(LiveServer, BadMethodsAreAnswered405) {
    for (const char* method : {"POST", "PUT", "DELETE", "PATCH", "HEAD", "OPTIONS", "BREW"}) {
        const Reply reply =
            Exchange(QByteArray(method) + " / HTTP/1.1\r\nHost: b\r\nContent-Length: 0\r\n\r\n");
        if (QByteArray(method) == "BREW") { // not HTTP at all: the parser drops it
            EXPECT_TRUE(reply.status == 405 || reply.status == 0) << method;
        } else {
            EXPECT_EQ(reply.status, 405) << method;
        }
        if (reply.status) {
            EXPECT_TRUE(reply.head.contains("Allow: GET")) << method;
        }
    }
}

TEST_F(LiveServer, PathTricksAreAnsweredWithAnErrorAndNothingOutsideThePages) {
    EXPECT_EQ(Get("/../etc/passwd").status, 400);
    EXPECT_EQ(Get("/results/../../etc/passwd").status, 400);
    EXPECT_EQ(Get("/%2e%2e/%2e%2e/etc/passwd").status, 400);
    EXPECT_EQ(Get("/board.js%00.txt").status, 400);
    EXPECT_EQ(Get("/etc/passwd").status, 404);
    EXPECT_EQ(Get("/pages/").status, 404); // no listing of anything
    EXPECT_EQ(Get("/" + QByteArray(400, 'a')).status, 414);
    EXPECT_EQ(Get("/live").status, 426);
}

TEST_F(LiveServer, HugeHeadersAreAnswered431AndHugeRequestsClosedUnread) {
    const QByteArray big =
        "GET / HTTP/1.1\r\nHost: b\r\nX-Big: " + QByteArray(20000, 'x') + "\r\n\r\n";
    EXPECT_EQ(Exchange(big).status, 431);
    const QByteArray huge =
        "GET / HTTP/1.1\r\nHost: b\r\nX-Big: " + QByteArray(200000, 'x') + "\r\n\r\n";
    EXPECT_EQ(Exchange(huge).status, 0);
    const QByteArray body =
        "POST / HTTP/1.1\r\nHost: b\r\nContent-Length: 1000000\r\n\r\n" + QByteArray(1000000, 'b');
    EXPECT_EQ(Exchange(body).status, 0);
    EXPECT_EQ(Get("/").status, 200); // and the board goes on
}

TEST_F(LiveServer, ARequestTricklingInAndAnIdleConnectionAreClosedByTheSweep) {
    QTcpSocket slow, idle;
    slow.connectToHost(QHostAddress::LocalHost, server->Port());
    idle.connectToHost(QHostAddress::LocalHost, server->Port());
    slow.write("GET / HTTP/1.1\r\nHo");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->RequestsUnderway() == 1; }, 5000));
    ASSERT_EQ(server->Connections(), 2);
    now += limits.requestWithinMs + 1;
    server->Sweep();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return slow.state() == QAbstractSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(idle.state(), QAbstractSocket::ConnectedState);
    now += limits.keepAliveMs;
    server->Sweep();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return idle.state() == QAbstractSocket::UnconnectedState; }, 5000));
}

TEST_F(LiveServer, ABrowserGetsTheWholeBoardAtOnceThenEveryNewOne) {
    server->PublishBoard(R"({"clock":"1:00"})");
    QWebSocket browser;
    QList<QByteArray> boards;
    QObject::connect(&browser, &QWebSocket::binaryMessageReceived,
                     [&](const QByteArray& board) { boards << board; });
    browser.open(Url("/live"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return boards.size() == 1; }, 5000));
    EXPECT_EQ(boards[0], R"({"clock":"1:00"})");
    EXPECT_EQ(server->Browsers(), 1);
    server->PublishBoard(R"({"clock":"1:01"})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return boards.size() == 2; }, 5000));
    EXPECT_EQ(boards[1], R"({"clock":"1:01"})");
    // What a browser says changes nothing; too much of it closes the connection.
    browser.sendTextMessage(QStringLiteral("hello"));
    browser.sendTextMessage(QString(2000, QLatin1Char('x')));
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->Browsers() == 0; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return browser.state() == QAbstractSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(browser.closeCode(), QWebSocketProtocol::CloseCodeTooMuchData)
        << browser.closeReason().toStdString();
}

TEST_F(LiveServer, BrowsersBeyondTheCapAreToldTheBoardIsFull) {
    limits.maxBrowsers = 2;
    Restart();
    QWebSocket browsers[3];
    QByteArray lastMessage;
    for (QWebSocket& browser : browsers) {
        QObject::connect(&browser, &QWebSocket::binaryMessageReceived,
                         [&](const QByteArray& message) { lastMessage = message; });
        browser.open(Url("/live"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !lastMessage.isEmpty(); }, 5000));
        lastMessage.clear();
        if (&browser != &browsers[2]) {
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return server->Browsers() == (&browser - browsers) + 1; }, 5000));
        }
    }
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return browsers[2].state() == QAbstractSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(browsers[2].closeReason(), QStringLiteral("full"));
    EXPECT_EQ(server->Browsers(), 2);
}

TEST_F(LiveServer, ABrowserThatTakesNothingCostsBoundedMemoryAndIsDropped) {
    QTcpSocket browser; // reads nothing and answers no ping
    browser.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    browser.setReadBufferSize(4096);
    browser.connectToHost(QHostAddress::LocalHost, server->Port());
    browser.write(
        "GET /live HTTP/1.1\r\nHost: b\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->Browsers() == 1; }, 5000));
    const QByteArray board(100000, 'b');
    // Updates until the connection is full, then many more.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            server->PublishBoard(board);
            return server->UnsentToBrowsers() > static_cast<qint64>(limits.maxQueuedBoardBytes);
        },
        10000));
    for (int update = 0; update < 100; ++update)
        server->PublishBoard(board);
    // At most one update beyond the limit waits for it, however many came.
    EXPECT_LE(server->UnsentToBrowsers(),
              static_cast<qint64>(limits.maxQueuedBoardBytes) + board.size() + 16);
    now += limits.behindWithinMs + 1;
    server->Sweep();
    EXPECT_EQ(server->Browsers(), 0);
}

} // namespace
} // namespace kesto
