// The live board under load while a race runs: the real main window's tick
// behind the live board's screen watcher, the board's server on its thread,
// and on another thread 200 browsers on the live updates (WebSockets) plus a
// flood of HTTP requests, all on the loopback address. Ticks are paced at the
// race timer's 10 ms; each brings one car's pass, so every refresh changes
// the board and every board goes to every browser. Bounded: 2000 ticks.
//
// Reported: the tick's median, 99th percentile and maximum (the tick alone:
// the board is built and sent after it), the laps the race counted and
// whether every browser's last board shows all of them, HTTP answers served,
// and the resident memory before, halfway through and after the measured
// ticks (the second half shows whether it keeps growing).
#include "bench/qt/bench_window.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "tools/decoder-sim/decoder_lines.h"
#include "web/observed_race_screen.h"
#include "web/qt/live_board.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QThread>
#include <QWebSocket>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

namespace kesto {
namespace {

constexpr int Browsers = 200;
constexpr int FloodConnections = 8;
constexpr int Ticks = 2000;

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
    }
    return 0;
}

// The browsers and the flood, on a thread of their own.
class Load final : public QObject {
public:
    explicit Load(quint16 port) : m_port(port) {}

    void Begin() {
        for (int n = 0; n < Browsers; ++n) {
            auto* browser = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
            const int index = n;
            m_lastBoard.emplace_back();
            connect(browser, &QWebSocket::binaryMessageReceived, this,
                    [this, index](const QByteArray& board) {
                        m_lastBoard[static_cast<size_t>(index)] = board;
                        ++boards;
                    });
            connect(browser, &QWebSocket::connected, this, [this] { ++connected; });
            browser->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(m_port)));
        }
        for (int n = 0; n < FloodConnections; ++n) {
            auto* socket = new QTcpSocket(this);
            connect(socket, &QTcpSocket::connected, this, [socket] { Ask(socket); });
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                const QByteArray bytes = socket->readAll();
                for (qsizetype at = bytes.indexOf("HTTP/1.1 "); at >= 0;
                     at = bytes.indexOf("HTTP/1.1 ", at + 1)) {
                    ++answers;
                    if (flooding)
                        Ask(socket);
                }
            });
            socket->connectToHost(QHostAddress::LocalHost, m_port);
        }
    }

    // Cars whose laps in every browser's last board differ from `laps`.
    int BrowsersBehind(const PerId<int16_t>& laps) const {
        int behind = 0;
        for (const QByteArray& board : m_lastBoard) {
            const QJsonArray cars =
                QJsonDocument::fromJson(board).object()[QStringLiteral("cars")].toArray();
            bool same = cars.size() == MaxCarIds;
            for (const QJsonValue& car : cars) {
                const int id = car[QStringLiteral("id")].toInt();
                same = same && car[QStringLiteral("laps")].toString().toInt() == laps[id - 1];
            }
            behind += !same;
        }
        return behind;
    }

    std::atomic<int> connected{0};
    std::atomic<long> boards{0};
    std::atomic<long> answers{0};
    std::atomic<bool> flooding{true};

private:
    static void Ask(QTcpSocket* socket) {
        socket->write("GET /api/board HTTP/1.1\r\nHost: board\r\n\r\n");
    }

    quint16 m_port;
    std::vector<QByteArray> m_lastBoard;
};

void RunEventsFor(int ms) {
    QDeadlineTimer until(ms, Qt::PreciseTimer);
    while (!until.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents,
                                        static_cast<int>(until.remainingTime()));
}

void BM_LiveBoardLoad_200BrowsersAndHttpFlood(benchmark::State& st) {
    bench::BenchWindow rig;
    RaceState& state = rig.state;
    bench::FedPort& port = rig.port;
    MainWindowParts& parts = rig.parts;
    RaceControl& control = parts.Control();
    RaceTick& tick = parts.Tick();
    ObservedRaceScreen& screen = parts.Screen();
    LiveBoard board(state, screen.Shown());
    screen.SetObserver([&](ObservedRaceScreen::Change) { board.ScreenChanged(); });
    state.TimedRace = true;
    state.RaceMinutes = 240;
    state.Settings.MinLapTime = 1;
    for (int i = 0; i < MaxCarIds; ++i) {
        state.Names.IdName[i] = "Racer " + std::to_string(i + 1);
        state.Settings.IdColor[i] = 0x203040 * (i + 1);
    }
    control.ReSet();
    control.cmdStart_Click();
    const quint16 servedOn = board.Start(0);
    if (servedOn == 0) {
        st.SkipWithError("the live board found no port");
        return;
    }

    QThread loadThread;
    Load load(servedOn);
    load.moveToThread(&loadThread);
    loadThread.start();
    QMetaObject::invokeMethod(&load, [&load] { load.Begin(); });
    QElapsedTimer waiting;
    waiting.start();
    while (load.connected < Browsers && waiting.elapsed() < 20000)
        RunEventsFor(10);

    std::vector<double> micros;
    long residentBefore = 0;
    long residentHalfway = 0;
    int64_t raceMs = 0;
    int sent = 0;
    for (auto _ : st) {
        residentBefore = ResidentKb();
        QElapsedTimer pace;
        for (int n = 0; n < Ticks; ++n) {
            if (n == Ticks / 2)
                residentHalfway = ResidentKb();
            pace.start();
            // A pass every tick; the decoder's clock runs ten times faster, so
            // each car passes 1.4 s after its last, above the minimum lap.
            // The decoder's clock line every whole second, as a decoder sends it:
            // a pass is only counted against the clock already heard.
            raceMs += 100;
            if (raceMs % 1000 == 0)
                port.Feed(sim::ClockLine(raceMs));
            port.Feed(sim::DetectionLine(n % MaxCarIds + 1, raceMs));
            ++sent;
            const auto begin = std::chrono::steady_clock::now();
            tick.Timer1_Timer(10);
            micros.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin)
                    .count());
            RunEventsFor(std::max<int>(0, 10 - static_cast<int>(pace.elapsed())));
        }
    }
    load.flooding = false;
    RunEventsFor(2000); // the last boards reach every browser
    const long residentAfter = ResidentKb();
    int counted = 0;
    for (int16_t laps : state.LapCount)
        counted += laps;
    const int behind = load.BrowsersBehind(state.LapCount);
    QMetaObject::invokeMethod(
        &load, [&load] { qDeleteAll(load.children()); }, Qt::BlockingQueuedConnection);
    loadThread.quit();
    loadThread.wait();
    board.Stop();

    std::sort(micros.begin(), micros.end());
    st.counters["tick_median_us"] = micros[micros.size() / 2];
    st.counters["tick_p99_us"] = micros[micros.size() * 99 / 100];
    st.counters["tick_max_us"] = micros.back();
    st.counters["browsers"] = load.connected.load();
    st.counters["passes_sent"] = sent;
    st.counters["laps_counted"] = counted;
    st.counters["browsers_behind"] = behind;
    st.counters["boards_received"] = static_cast<double>(load.boards);
    st.counters["http_answers"] = static_cast<double>(load.answers);
    st.counters["rss_before_kb"] = static_cast<double>(residentBefore);
    st.counters["rss_halfway_kb"] = static_cast<double>(residentHalfway);
    st.counters["rss_after_kb"] = static_cast<double>(residentAfter);
}
BENCHMARK(BM_LiveBoardLoad_200BrowsersAndHttpFlood)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
} // namespace kesto
