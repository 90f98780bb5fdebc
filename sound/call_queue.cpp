#include "sound/call_queue.h"

namespace kesto {

void CallQueue::Add(Call call) {
    call.dueMs = m_clock.NowMs();
    const bool lapCount = IsLapCount(call);
    if (lapCount && m_lapCount)
        DropLapCount(); // the newest wins
    if (Waiting() >= MaxWaiting) {
        if (m_lapCount) {
            DropLapCount();
        } else {
            m_waiting.pop_front();
            ++m_dropped;
        }
    }
    if (lapCount) {
        m_lapCount = std::move(call);
        m_lapCountAfter = m_waiting.size();
    } else {
        m_waiting.push_back(std::move(call));
    }
}

void CallQueue::DropLapCount() {
    m_lapCount.reset();
    ++m_dropped;
}

std::optional<Call> CallQueue::TakeNext() {
    while (Waiting() > 0) {
        Call call;
        if (m_lapCount && m_lapCountAfter == 0) {
            call = std::move(*m_lapCount);
            m_lapCount.reset();
        } else {
            call = std::move(m_waiting.front());
            m_waiting.pop_front();
            if (m_lapCountAfter > 0)
                --m_lapCountAfter;
        }
        if (!IsLate(call))
            return call;
        ++m_dropped;
    }
    return std::nullopt;
}

bool CallQueue::IsLate(const Call& call) const {
    return m_clock.NowMs() - call.dueMs > MaxLateMs;
}

} // namespace kesto
