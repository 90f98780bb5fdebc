#pragma once
// The decoder link's watch during a timed race: it notices a decoder that has
// gone quiet (no clock line for three of its clock periods, as learned from
// its clock lines, and never less than three seconds of race ticks) and a device that
// has vanished (the port reports its link lost, fails a read, or is found
// closed), raises an alarm on the race screen and plays a warning once per
// outage. A vanished device's port is closed at once, so a dead descriptor
// cannot keep the processor busy, and the same device (DecoderPort::Reopen)
// is tried about once a second; the alarm goes when clock lines flow again.
//
// Lap counting is untouched: laps are timed from the decoder's own time
// stamps, so a car's first pass after an outage simply measures from its last
// counted pass. The watch has no clock of its own; the race tick hands it the
// elapsed milliseconds. Demo races and untimed moments are not watched.

#include "engine/decoder_input.h"
#include "engine/race_context.h"
#include "engine/race_screen.h"
#include "engine/receive_buffer.h"

#include <cstdint>
#include <string>

namespace kesto {

// The wave file of the warning, in the sound folder.
inline constexpr const char* DecoderLostSound = "Decoder Lost.wav";

// What the race screen's alarm banner says.
std::string LinkLostAlarmText(int portNumber);
std::string NoSignalAlarmText();

class DecoderLinkWatch final {
public:
    static constexpr int32_t SilenceLimitMs = 3000; // the least silence that is no signal
    static constexpr int32_t ReopenIntervalMs = 1000;

    enum class Link {
        Fine,     // clock lines come (or the race has just begun)
        NoSignal, // the port is open, the decoder says nothing
        Lost,     // the device is gone: the port is closed and reopened by the watch
    };

    // `input` is the receive buffer of the port step: a line cut off by a
    // vanished device is dropped with the connection.
    DecoderLinkWatch(RaceContext& ctx, RaceScreen& screen, ReceiveBuffer& input);

    // After the tick's port step: `reading` is what it received, `elapsedMs`
    // the tick's milliseconds. Does nothing (after forgetting an earlier race)
    // in demo mode or while the race is not timed.
    void Tick(int32_t elapsedMs, const PortReading& reading);

    // The race timer stopped (close, abort): the alarm goes and the watch
    // forgets the race. A port it had closed is tried once more.
    void Stop();

    Link State() const { return m_link; }
    // No clock line this long is no signal: three of the decoder's clock
    // periods (once learned; the program remembers it across races), and
    // never less than SilenceLimitMs.
    int32_t SilenceAllowedMs() const;
    bool AlarmShown() const { return !m_alarmText.empty(); }
    const std::string& AlarmText() const { return m_alarmText; }
    // Reopen attempts since the race began.
    int ReopenAttempts() const { return m_reopenAttempts; }

private:
    bool Watching() const;
    void LoseDevice();
    void TryReopen();
    void RaiseAlarm(const std::string& text);
    void ClearAlarm();

    RaceContext& m_ctx;
    RaceScreen& m_screen;
    ReceiveBuffer& m_input;
    Link m_link = Link::Fine;
    int32_t m_silentMs = 0;    // tick time since the last clock line
    int32_t m_untilReopen = 0; // tick time until the next reopen attempt
    bool m_warned = false;     // the warning of this outage has played
    int m_reopenAttempts = 0;
    int32_t m_clockPeriodMs = 0; // as last learned
    std::string m_alarmText;     // shown on the race screen; empty: no alarm
};

} // namespace kesto
