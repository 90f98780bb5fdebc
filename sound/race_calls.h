#pragma once
// The race caller that speaks: turns the race's moments into spoken calls by
// the club's speech settings and queues them. Counting a lap only queues the
// car and its number (no text, no waiting): the words are made when the call
// is said, away from the race tick.

#include "engine/race_caller.h"
#include "sound/call_queue.h"
#include "sound/speech_settings.h"

#include <functional>

namespace kesto {

class RaceCalls final : public RaceCaller {
public:
    // `speechWorks` says whether calls can be spoken at all (a synthesiser
    // that failed to start speaks nothing, and the wave files play instead).
    RaceCalls(const SpeechSettings& settings, CallQueue& queue, std::function<bool()> speechWorks);

    void LapCounted(const RaceState& state, int id, bool newOverallBest) override;
    void StartLightsOn(const RaceState& state) override;
    void RaceClosed(const RaceState& state) override;
    bool TimeLeftDue(const RaceState& state, RaceSound event) override;
    // Spoken with the racers' names at the start lights switched on.
    void NextHeatCalledUp(std::string_view heat, const PerId<std::string>& names) override;

private:
    bool Works() const { return !m_speechWorks || m_speechWorks(); }
    void Add(CallKind kind, std::string text);

    const SpeechSettings& m_settings;
    CallQueue& m_queue;
    std::function<bool()> m_speechWorks;
};

} // namespace kesto
