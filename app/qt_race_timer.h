#pragma once
// Timer1, the race timer: a precise 10 ms Qt timer beside the main window
// (its child, named "Timer1"). Each tick runs RaceTick::Timer1_Timer with the
// milliseconds measured since the previous one; when race control stops it,
// the tick's link watch is told the race is over. Bytes arriving from the
// decoder between ticks run a tick at once (InputArrived), so a pass reaches
// the screen without waiting for the next 10 ms.

#include "engine/race_timer.h"

#include <QElapsedTimer>
#include <QObject>

class QTimer;

namespace kesto {

class RaceTick;

class QtRaceTimer final : public QObject, public RaceTimer {
    Q_OBJECT
public:
    explicit QtRaceTimer(QObject* parent);

    // The tick it drives, made after race control (which starts and stops it).
    void Drive(RaceTick& tick) { m_tick = &tick; }

    void SetRaceTimer(bool running) override;

    // The decoder port has bytes waiting: while the race is timed, the tick
    // runs now. Ticks count the milliseconds actually gone by, so an extra one
    // changes no time.
    void InputArrived();

private:
    void Timer1_Timer();

    QTimer* m_timer1 = nullptr;
    QElapsedTimer m_sinceTimerStart;
    qint64 m_msTicked = 0; // of m_sinceTimerStart, handed to the ticks so far
    RaceTick* m_tick = nullptr;
    bool m_ticking = false; // a tick's own port read announces the bytes it fetches
};

} // namespace kesto
