#pragma once
// Says the queued calls, one at a time: each is made into sound by the
// synthesiser (on its own thread) while the one before it is still being
// said, and is played through the sound ring like a wave file (its volume and
// pan rules, never stopping a race sound). A call that has become too late by
// the time its sound is ready is dropped. Driven by Pump() from a timer of the
// user-interface thread, never from the race tick.

#include "base/dialogs.h"
#include "engine/race_state.h"
#include "sound/call_queue.h"
#include "sound/sound_ring.h"
#include "sound/speech_settings.h"
#include "sound/synthesizer.h"

#include <optional>
#include <string>

namespace kesto {

// Every call plays on the left, as PlayWav plays the wave files.
inline constexpr int CallPan = 0;

class CallPlayer final {
public:
    CallPlayer(CallQueue& queue, Synthesizer& synthesizer, SoundRing& ring, Dialogs& dialogs,
               const SpeechSettings& settings, const RaceState& state);

    // Starts the synthesiser ahead of the first call, so a synthesiser that
    // cannot work is known (and told) before the race.
    void Prepare();
    // Says `text` with the voice, speed and volume of `voice` (the sound
    // window's try-out, before its choices are kept).
    void SaySample(std::string text, const SpeechSettings& voice);

    // One step; never waits. Call it while Busy().
    void Pump();
    bool Busy();
    // False once the synthesiser has failed: nothing is said from then on.
    bool Works() const { return m_failure.empty(); }
    const std::string& Failure() const { return m_failure; }

private:
    struct Made {
        Call call;
        PcmSound sound;
        int volume = 100;
    };

    void StartNext();
    void Fail(const std::string& failure);

    CallQueue& m_queue;
    Synthesizer& m_synthesizer;
    SoundRing& m_ring;
    Dialogs& m_dialogs;
    const SpeechSettings& m_settings;
    const RaceState& m_state;

    std::optional<SpeechSettings> m_sampleVoice;
    bool m_making = false;               // the synthesiser works on a request
    std::optional<Call> m_callBeingMade; // none while only getting ready
    int m_volumeBeingMade = 100;
    std::optional<Made> m_made; // made, waiting for the call before it
    std::optional<RingPlayback> m_saying;
    std::string m_failure;
};

} // namespace kesto
