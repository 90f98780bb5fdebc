#pragma once
// The spoken calls waiting to be said. A call is said one at a time, so calls
// that come faster than a voice can say them must give way rather than pile
// up behind each other:
// - a call more than 2 s past its moment is dropped, never said late;
// - a lap count replaces the lap count still waiting (the newest wins);
// - at most a few calls wait; with the queue full a waiting lap count makes
//   room first, else the oldest call.
// Time comes from an injected clock, so the rules are tested without waiting.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace kesto {

// Milliseconds of a steady clock (never set back).
class CallClock {
public:
    virtual ~CallClock() = default;
    virtual int64_t NowMs() = 0;
};

enum class CallKind {
    BestLap,
    LapCount,
    LeaderLapCount,
    Podium,
    Racers,
    TimeLeft,
    HeatCallUp,
    Sample
};

struct Call {
    CallKind kind = CallKind::Sample;
    // The words; the calls of a lap leave them empty (made when the call is
    // said, so counting a lap never builds text) and give the car and number.
    std::string text;
    int id = 0;
    int32_t number = 0; // a best lap's milliseconds, a lap count
    int64_t dueMs = 0;  // its moment, set by the queue
};

class CallQueue final {
public:
    static constexpr int64_t MaxLateMs = 2000;
    static constexpr size_t MaxWaiting = 3;

    explicit CallQueue(CallClock& clock) : m_clock(clock) {}

    // The call is due now.
    void Add(Call call);
    // The next call that is not too late; later ones stay.
    std::optional<Call> TakeNext();
    // More than MaxLateMs past its moment.
    bool IsLate(const Call& call) const;
    void Clear() {
        m_waiting.clear();
        m_lapCount.reset();
    }

    size_t Waiting() const { return m_waiting.size() + (m_lapCount ? 1 : 0); }
    // Calls given up so far: too late, replaced or crowded out.
    int Dropped() const { return m_dropped; }
    void CountDropped() { ++m_dropped; }

private:
    static bool IsLapCount(const Call& call) {
        return call.kind == CallKind::LapCount || call.kind == CallKind::LeaderLapCount;
    }

    void DropLapCount();

    CallClock& m_clock;
    // At most one lap count ever waits, so it keeps a place of its own: a burst
    // of laps in one tick only overwrites it. It is said after the first
    // m_lapCountAfter calls of m_waiting (those that were waiting before it).
    std::deque<Call> m_waiting; // every other call, oldest first
    std::optional<Call> m_lapCount;
    size_t m_lapCountAfter = 0;
    int m_dropped = 0;
};

} // namespace kesto
