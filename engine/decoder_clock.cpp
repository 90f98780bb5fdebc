#include "engine/decoder_clock.h"

#include "base/settings_records.h"
#include "engine/number_format.h"

#include <algorithm>
#include <limits>

namespace kesto {
namespace {

// A bound of the clock older than this gives way to the newest one, so a
// decoder whose crystal runs a little slow is still followed closely.
constexpr int64_t BaseMemoryMs = 10000;
constexpr int64_t NoSettledClock = std::numeric_limits<int64_t>::min();

bool IsCar(int id) {
    return id >= 1 && id <= MaxCarIds;
}

JudgedRecord Pass(int id, int64_t timeMs) {
    JudgedRecord judged;
    judged.kind = JudgedRecord::Kind::Pass;
    judged.id = id;
    judged.timeMs = ClampToInt32(timeMs);
    return judged;
}

JudgedRecord Rejected(int id, int64_t timeMs, RejectReason reason, int64_t clockMs) {
    JudgedRecord judged;
    judged.kind = JudgedRecord::Kind::Rejected;
    judged.id = id;
    judged.timeMs = ClampToInt32(timeMs);
    judged.reason = reason;
    judged.clockMs = ClampToInt32(clockMs);
    return judged;
}

} // namespace

void DecoderClock::Start() {
    *this = DecoderClock{};
    m_following = true;
    m_heardClock = true; // the clock is at 0 now
}

void DecoderClock::Stop() {
    *this = DecoderClock{};
}

void DecoderClock::Advance(int64_t ms) {
    if (ms > 0)
        m_now = std::min(m_now + ms, int64_t{std::numeric_limits<int32_t>::max()});
}

int32_t DecoderClock::ClockPeriodMs() const {
    // A line missed (or an outage) only lengthens a step: the shortest is the period.
    const std::size_t n = std::min(m_stepCount, m_steps.size());
    return n == 0 ? 0
                  : *std::min_element(m_steps.begin(),
                                      m_steps.begin() + static_cast<std::ptrdiff_t>(n));
}

bool DecoderClock::ClockFits(int64_t clockMs, int64_t at) const {
    return clockMs >= m_clockMs && clockMs <= Expected(at) + AheadLimitMs;
}

bool DecoderClock::PassFits(int64_t passMs, int64_t at) const {
    return passMs <= Expected(at) + AheadLimitMs && passMs >= m_clockMs - BehindLimitMs;
}

void DecoderClock::Take(const DecoderRecord& record, std::vector<JudgedRecord>& out) {
    if (!record.isRecord)
        return;
    const int id = record.isClock ? 0 : record.id;
    if (!m_following || (!record.isClock && !IsCar(record.id))) {
        // Taken as read: between races, and IDs that count nothing anyway.
        JudgedRecord judged = Pass(id, record.timeMs);
        if (record.isClock)
            judged.kind = JudgedRecord::Kind::Clock;
        out.push_back(judged);
        return;
    }
    const int64_t time = int64_t{record.timeMs} + m_offset;
    if (!record.readable) {
        out.push_back(Rejected(id, time, RejectReason::UnreadableRecord, m_clockMs));
        return;
    }

    const int64_t at = m_now;
    if (m_waiting.empty()) {
        if (record.isClock && ClockFits(time, at)) {
            TakeClock(ClampToInt32(time), at, out);
            return;
        }
        if (!record.isClock && PassFits(time, at)) {
            out.push_back(Pass(id, time));
            return;
        }
    }
    m_waiting.push_back({record, at});
    if (record.isClock)
        Settle(record, at, out);
    if (!m_waiting.empty() &&
        (m_waiting.size() >= MaxWaitingLines || at - m_waiting.front().at > MaxWaitMs))
        Release(NoSettledClock, out); // the clock never settled: the lines as they stand
}

void DecoderClock::Settle(const DecoderRecord& clockLine, int64_t at,
                          std::vector<JudgedRecord>& out) {
    const int64_t decoderMs = clockLine.timeMs;
    const int64_t time = decoderMs + m_offset;
    if (ClockFits(time, at)) {
        Release(time, out); // the clock goes on: what waited is judged against it
        return;
    }
    if (m_hasCandidate) {
        const int64_t agreed = decoderMs + m_candidate.offset;
        if (agreed >= m_candidate.clockMs &&
            agreed <= m_candidate.clockMs + (at - m_candidate.at) + AheadLimitMs) {
            int64_t offset = m_candidate.offset;
            if (offset != m_offset) // restarted: each line's estimate errs late, take the earliest
                offset = std::min(offset, Expected(at) - decoderMs);
            m_offset = ClampToInt32(offset);
            Release(decoderMs + m_offset, out);
            return;
        }
    }
    // A clock that jumped: ahead it is the decoder's own; back it restarted
    // from zero a moment ago, and race time is where the timer reckons now.
    m_hasCandidate = true;
    m_candidate.offset = time > m_clockMs ? m_offset : ClampToInt32(Expected(at) - decoderMs);
    m_candidate.clockMs = ClampToInt32(decoderMs + m_candidate.offset);
    m_candidate.at = at;
}

void DecoderClock::Release(int64_t settledClockMs, std::vector<JudgedRecord>& out) {
    m_hasCandidate = false;
    std::vector<Waiting> waiting;
    waiting.swap(m_waiting);
    for (const Waiting& line : waiting) {
        const DecoderRecord& record = line.record;
        const int64_t time = int64_t{record.timeMs} + m_offset;
        // A line sent before the clock line that settled it is no later than that.
        const int64_t clock = std::max(Expected(line.at), settledClockMs);
        if (record.isClock) {
            if (time >= m_clockMs && time <= clock + AheadLimitMs)
                TakeClock(ClampToInt32(time), line.at, out);
            else
                out.push_back(Rejected(0, time, RejectReason::DecoderClockJump, m_clockMs));
        } else if (time > clock + AheadLimitMs) {
            out.push_back(Rejected(record.id, time, RejectReason::AheadOfDecoderClock, clock));
        } else if (time < m_clockMs - BehindLimitMs) {
            out.push_back(Rejected(record.id, time, RejectReason::BehindDecoderClock, m_clockMs));
        } else {
            out.push_back(Pass(record.id, time));
        }
    }
    waiting.clear();
    if (m_waiting.empty())
        m_waiting.swap(waiting); // keeps the capacity
}

void DecoderClock::TakeClock(int32_t clockMs, int64_t at, std::vector<JudgedRecord>& out) {
    if (m_heardClock && clockMs > m_clockMs) {
        m_steps[m_stepCount % m_steps.size()] = clockMs - m_clockMs;
        ++m_stepCount;
    }
    m_heardClock = true;
    m_clockMs = clockMs;
    // Lines arrive late, never early: the race time they tell, less the tick
    // time they arrived at, is a bound on where the clock stands; the highest
    // recent one is the closest.
    const int64_t bound = int64_t{clockMs} - at;
    if (bound >= m_base || at - m_baseAt > BaseMemoryMs) {
        m_base = bound;
        m_baseAt = at;
    }
    JudgedRecord judged;
    judged.kind = JudgedRecord::Kind::Clock;
    judged.timeMs = clockMs;
    out.push_back(judged);
}

} // namespace kesto
