#pragma once
// The decoder's clock as the timer knows it during a race. A decoder line has
// no parity or checksum, so every record is held against that clock before it
// counts: a passing stamped well ahead of the clock, or well before the clock
// already heard, and a clock line that jumps further than the time gone by
// can explain, do not fit. A line that does not fit waits, with every line
// after it, for the next clock lines to settle what happened:
//   - the clock goes on as before: the odd line was corrupted and is rejected;
//   - two clock lines agree on a clock that jumped ahead (a decoder running
//     fast, or on through an outage the timer could not time): it is followed;
//   - two clock lines agree on a clock that went back (the decoder restarted
//     it, as some do when RTS rises again after a resume or a reconnect): it
//     is followed with an offset, so race time runs on and lap times across
//     the restart stay right.
// The waiting lines are then taken in their order, so the race comes out as
// if the decoder had sent a clean stream. A clean stream never waits.
//
// "Now" is the time of the race ticks since green (the computer's time), so
// the same lines at the same tick times always give the same race: a race
// journal replays it exactly. The clock also learns how often the decoder
// sends its clock line, for the link watch.

#include "engine/decoder_record.h"
#include "engine/rejected_pass.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kesto {

// What to do with one record once the clock has judged it.
struct JudgedRecord {
    enum class Kind { Clock, Pass, Rejected };
    Kind kind = Kind::Pass;
    int id = 0;         // the car (0 for a clock line)
    int32_t timeMs = 0; // race time: the clock's, the passing's
    RejectReason reason = RejectReason::AheadOfDecoderClock;
    int32_t clockMs = 0; // Rejected: the decoder's clock as known then
};

class DecoderClock final {
public:
    // A passing may be stamped this far ahead of the clock as known now.
    static constexpr int32_t AheadLimitMs = 2000;
    // ... and this far before the last clock line (it was sent a moment late).
    static constexpr int32_t BehindLimitMs = 1000;
    // Lines waiting for the clock to settle are taken after this much time
    // or this many lines, whatever came: a quiet or mad decoder cannot hold
    // the race up.
    static constexpr int64_t MaxWaitMs = 10000;
    static constexpr std::size_t MaxWaitingLines = 256;

    // Green: the decoder's clock runs from 0 from now on, and the race with it.
    void Start();
    // No race is timed: records are taken as they come.
    void Stop();
    bool Following() const { return m_following; }

    // `ms` of race ticks passed. Now() is the time since green.
    void Advance(int64_t ms);
    int64_t Now() const { return m_now; }
    // For a replay: the record that comes next arrived at `now`.
    void SetNow(int64_t now) { m_now = now; }

    // Judges `record`, received now. Appends what to do to `out`, in order:
    // nothing while it waits, or the records it settles (itself included).
    // Lines that are not records, and IDs no car has, pass as they are.
    void Take(const DecoderRecord& record, std::vector<JudgedRecord>& out);

    // Race time = decoder time + Offset(); 0 until the decoder restarts its clock.
    int32_t OffsetMs() const { return m_offset; }
    // The shortest of the decoder's last steps between clock lines (its own
    // time; green is the first clock): how often it sends its clock line. 0
    // until its first clock line came.
    int32_t ClockPeriodMs() const;
    std::size_t WaitingLines() const { return m_waiting.size(); }

private:
    struct Waiting {
        DecoderRecord record;
        int64_t at = 0;
    };
    // A clock that did not fit, waiting for the next clock line to agree.
    struct Candidate {
        int32_t offset = 0;
        int32_t clockMs = 0; // race time of its last clock line
        int64_t at = 0;
    };

    int64_t Expected(int64_t at) const { return at + m_base; }
    bool ClockFits(int64_t clockMs, int64_t at) const;
    bool PassFits(int64_t passMs, int64_t at) const;
    void Settle(const DecoderRecord& clockLine, int64_t at, std::vector<JudgedRecord>& out);
    void Release(int64_t settledClockMs, std::vector<JudgedRecord>& out);
    void TakeClock(int32_t clockMs, int64_t at, std::vector<JudgedRecord>& out);

    bool m_following = false;
    int64_t m_now = 0;
    int32_t m_offset = 0;
    int32_t m_clockMs = 0; // race time of the last clock line taken
    int64_t m_base = 0;    // race time minus tick time: the best bound of recent clock lines
    int64_t m_baseAt = 0;  // when that bound was found
    bool m_heardClock = false;
    std::array<int32_t, 5> m_steps{}; // the last steps between clock lines
    std::size_t m_stepCount = 0;
    std::vector<Waiting> m_waiting;
    bool m_hasCandidate = false;
    Candidate m_candidate;
};

} // namespace kesto
