#pragma once
// The live board as the timer runs it: the web server on a thread of its own
// (so two hundred browsers and whatever a club network throws at it never
// hold up the race timer), fed from the timer's thread. After a change of the
// race screen the board is built once, after the tick, by a zero-timer, and
// handed to the server whole; the same board twice is not sent again. A
// one-second beat catches what changes without a refresh (names, the race
// format while no race runs).

#include "web/board_document.h"
#include "web/client_limits.h"
#include "web/results_document.h"
#include "web/standings_page.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

class QThread;

namespace kesto {

class LiveBoardServer;

class LiveBoard final : public QObject {
    Q_OBJECT
public:
    static constexpr int PortsTried = 10; // the chosen port and the nine after it

    // `shown` is what the race screen shows beyond the race state.
    LiveBoard(const RaceState& state, const ScreenShown& shown, WebLimits limits = {},
              QObject* parent = nullptr);
    ~LiveBoard() override;

    // Serves on `port`, or on the first free one of the nine after it (port 0:
    // one the system chooses); the port it serves on, or 0 when none was free.
    // A board already on is moved.
    quint16 Start(quint16 port);
    void Stop();
    bool IsOn() const { return m_port != 0; }
    quint16 Port() const { return m_port; }
    // Browsers on the live updates, as the server last told.
    int Browsers() const { return m_browsers; }

    // The race screen changed: the board goes out after the tick.
    void ScreenChanged();
    // The results pages: the last closed race, the file opened in the viewers.
    void SetRaceResults(ResultSet results);
    void SetOpenedResults(ResultSet results);
    // The race meeting: its standings page and the next heat on the board;
    // nothing while no meeting is open.
    void SetMeeting(std::optional<StandingsBoard> meeting);

    // The addresses phones on the club network reach it at ("http://IP:port/"),
    // the machine's own name last; empty while off.
    QStringList Addresses() const;

signals:
    void BrowsersChanged(int browsers);
    // The server moved or stopped (port 0).
    void PortChanged(quint16 port);

private:
    void PublishBoard();
    void PublishResults();
    void PublishStandings();

    const RaceState& m_state;
    const ScreenShown& m_shown;
    WebLimits m_limits;
    BoardDocument m_document;
    std::string m_lastBoard;
    bool m_boardPending = false;
    QTimer m_beat;
    std::optional<ResultSet> m_race;
    std::optional<ResultSet> m_opened;
    std::optional<StandingsBoard> m_meeting;

    std::unique_ptr<QThread> m_thread;
    QObject* m_anchor = nullptr;         // lives on the server's thread
    LiveBoardServer* m_server = nullptr; // made, used and deleted on that thread
    quint16 m_port = 0;
    int m_browsers = 0;
};

} // namespace kesto
