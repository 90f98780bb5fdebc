#include "app/qt_race_timer.h"

#include "engine/race_tick.h"

#include <QTimer>

#include <algorithm>
#include <limits>

namespace kesto {

QtRaceTimer::QtRaceTimer(QObject* parent) : QObject(parent) {
    m_timer1 = new QTimer(parent);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer1->setInterval(10);
    connect(m_timer1, &QTimer::timeout, this, &QtRaceTimer::Timer1_Timer);
}

void QtRaceTimer::SetRaceTimer(bool running) {
    if (running) {
        if (!m_timer1->isActive()) {
            m_sinceTimerStart.start();
            m_msTicked = 0;
            m_timer1->start();
        }
        return;
    }
    m_timer1->stop();
    // The race is over or aborted: the link watch takes its alarm down.
    if (m_tick)
        m_tick->RaceTimerStopped();
}

void QtRaceTimer::InputArrived() {
    if (m_timer1->isActive() && !m_ticking)
        Timer1_Timer();
}

void QtRaceTimer::Timer1_Timer() {
    // Counted from the timer's start, so the fractions of a millisecond each
    // tick has are never lost: the ticks add up to the time gone by.
    const qint64 now = m_sinceTimerStart.elapsed();
    const qint64 elapsed = now - m_msTicked;
    m_msTicked = now;
    const auto ms =
        static_cast<int32_t>(std::clamp<qint64>(elapsed, 0, std::numeric_limits<int32_t>::max()));
    if (!m_tick)
        return;
    const bool outerTick = !m_ticking;
    m_ticking = true;
    m_tick->Timer1_Timer(ms);
    if (outerTick)
        m_ticking = false;
}

} // namespace kesto
