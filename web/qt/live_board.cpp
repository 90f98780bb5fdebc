#include "web/qt/live_board.h"

#include "web/qt/live_board_server.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <QThread>

namespace kesto {

LiveBoard::LiveBoard(const RaceState& state, const ScreenShown& shown, WebLimits limits,
                     QObject* parent)
    : QObject(parent), m_state(state), m_shown(shown), m_limits(limits) {
    m_beat.setInterval(1000);
    connect(&m_beat, &QTimer::timeout, this, &LiveBoard::PublishBoard);
}

LiveBoard::~LiveBoard() {
    Stop();
}

quint16 LiveBoard::Start(quint16 port) {
    Stop();
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("LiveBoardServer"));
    m_anchor = new QObject;
    m_anchor->moveToThread(m_thread.get());
    m_thread->start();
    const WebLimits limits = m_limits;
    LiveBoardServer* server = nullptr;
    quint16 serving = 0;
    QMetaObject::invokeMethod(
        m_anchor,
        [&] {
            server = new LiveBoardServer(limits);
            for (int offset = 0; offset < PortsTried && serving == 0; ++offset) {
                const int candidate = port + offset;
                if (candidate <= 65535 && server->Listen(static_cast<quint16>(candidate)))
                    serving = server->Port(); // port 0: the one the system chose
            }
        },
        Qt::BlockingQueuedConnection);
    m_server = server;
    if (serving == 0) {
        Stop();
        emit PortChanged(0);
        return 0;
    }
    m_port = serving;
    connect(m_server, &LiveBoardServer::BrowsersChanged, this, [this](int browsers) {
        m_browsers = browsers;
        emit BrowsersChanged(browsers);
    });
    m_lastBoard.clear();
    PublishBoard();
    PublishResults();
    PublishStandings();
    m_beat.start();
    emit PortChanged(m_port);
    return m_port;
}

void LiveBoard::Stop() {
    m_beat.stop();
    if (!m_thread)
        return;
    LiveBoardServer* server = m_server;
    QMetaObject::invokeMethod(
        m_anchor, [server] { delete server; }, Qt::BlockingQueuedConnection);
    m_server = nullptr;
    m_thread->quit();
    m_thread->wait();
    delete m_anchor;
    m_anchor = nullptr;
    m_thread.reset();
    const bool wasOn = m_port != 0;
    m_port = 0;
    m_browsers = 0;
    if (wasOn) {
        emit BrowsersChanged(0);
        emit PortChanged(0);
    }
}

void LiveBoard::ScreenChanged() {
    if (!m_server || m_boardPending)
        return;
    // Built once after the tick, not in it and not per browser.
    m_boardPending = true;
    QMetaObject::invokeMethod(this, &LiveBoard::PublishBoard, Qt::QueuedConnection);
}

void LiveBoard::PublishBoard() {
    m_boardPending = false;
    if (!m_server)
        return;
    std::string board = m_document.Build(m_state, m_shown, m_meeting ? &*m_meeting : nullptr);
    if (board == m_lastBoard)
        return;
    m_lastBoard = std::move(board);
    const QByteArray bytes = QByteArray::fromStdString(m_lastBoard);
    LiveBoardServer* server = m_server;
    QMetaObject::invokeMethod(
        server, [server, bytes] { server->PublishBoard(bytes); }, Qt::QueuedConnection);
}

void LiveBoard::SetRaceResults(ResultSet results) {
    m_race = std::move(results);
    PublishResults();
}

void LiveBoard::SetOpenedResults(ResultSet results) {
    m_opened = std::move(results);
    PublishResults();
}

void LiveBoard::SetMeeting(std::optional<StandingsBoard> meeting) {
    m_meeting = std::move(meeting);
    PublishStandings();
    ScreenChanged(); // the board's next-heat line
}

void LiveBoard::PublishStandings() {
    if (!m_server)
        return;
    const QByteArray page =
        QByteArray::fromStdString(StandingsPageHtml(m_meeting ? &*m_meeting : nullptr));
    LiveBoardServer* server = m_server;
    QMetaObject::invokeMethod(
        server, [server, page] { server->PublishStandings(page); }, Qt::QueuedConnection);
}

void LiveBoard::PublishResults() {
    if (!m_server)
        return;
    auto publication = std::make_shared<WebPublication>();
    const ResultSet* race = m_race ? &*m_race : nullptr;
    const ResultSet* opened = m_opened ? &*m_opened : nullptr;
    publication->racePage = QByteArray::fromStdString(ResultsPageHtml(race, false));
    publication->openedPage = QByteArray::fromStdString(ResultsPageHtml(opened, true));
    publication->resultsJson = QByteArray::fromStdString(ResultsJson(race, opened));
    for (const auto& [folder, set] : {std::pair("race/", race), std::pair("opened/", opened)}) {
        if (!set)
            continue;
        for (const ResultDownload& download : set->downloads)
            publication->downloads[QByteArray(folder) + download.name.c_str()] =
                QByteArray::fromStdString(download.bytes);
    }
    LiveBoardServer* server = m_server;
    std::shared_ptr<const WebPublication> shared = std::move(publication);
    QMetaObject::invokeMethod(
        server, [server, shared] { server->PublishResults(shared); }, Qt::QueuedConnection);
}

QStringList LiveBoard::Addresses() const {
    QStringList addresses;
    if (!IsOn())
        return addresses;
    const QString port = QString::number(m_port);
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                addresses << QStringLiteral("http://%1:%2/").arg(entry.ip().toString(), port);
        }
    }
    addresses << QStringLiteral("http://%1:%2/").arg(QHostInfo::localHostName(), port);
    return addresses;
}

} // namespace kesto
