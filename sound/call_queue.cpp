#include "sound/call_queue.h"

#include <algorithm>

namespace kesto {

void CallQueue::Add(Call call) {
    call.dueMs = m_clock.NowMs();
    if (IsLapCount(call)) {
        const auto before = m_waiting.size();
        std::erase_if(m_waiting, IsLapCount);
        m_dropped += static_cast<int>(before - m_waiting.size());
    }
    if (m_waiting.size() >= MaxWaiting) {
        const auto lapCount = std::find_if(m_waiting.begin(), m_waiting.end(), IsLapCount);
        m_waiting.erase(lapCount != m_waiting.end() ? lapCount : m_waiting.begin());
        ++m_dropped;
    }
    m_waiting.push_back(std::move(call));
}

std::optional<Call> CallQueue::TakeNext() {
    while (!m_waiting.empty()) {
        Call call = std::move(m_waiting.front());
        m_waiting.pop_front();
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
