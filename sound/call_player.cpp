#include "sound/call_player.h"

#include "sound/call_phrases.h"

namespace kesto {

CallPlayer::CallPlayer(CallQueue& queue, Synthesizer& synthesizer, SoundRing& ring,
                       Dialogs& dialogs, const SpeechSettings& settings, const RaceState& state)
    : m_queue(queue), m_synthesizer(synthesizer), m_ring(ring), m_dialogs(dialogs),
      m_settings(settings), m_state(state) {}

void CallPlayer::Prepare() {
    if (m_making || !Works())
        return;
    m_synthesizer.Start(SpeechRequest{"", m_settings.voice, m_settings.speed});
    m_making = true;
    m_callBeingMade.reset();
}

void CallPlayer::SaySample(std::string text, const SpeechSettings& voice) {
    Call call;
    call.kind = CallKind::Sample;
    call.text = std::move(text);
    m_sampleVoice = voice;
    m_queue.Add(std::move(call));
}

bool CallPlayer::Busy() {
    if (m_saying && !m_ring.IsPlaying(*m_saying))
        m_saying.reset();
    return Works() && (m_making || m_made || m_saying || m_queue.Waiting() > 0);
}

void CallPlayer::Pump() {
    if (!Works())
        return;
    if (m_saying && !m_ring.IsPlaying(*m_saying))
        m_saying.reset();

    if (m_making) {
        std::optional<SpeechResult> result = m_synthesizer.Take();
        if (result) {
            m_making = false;
            if (!result->failure.empty())
                return Fail(result->failure);
            if (m_callBeingMade)
                m_made =
                    Made{std::move(*m_callBeingMade), std::move(result->sound), m_volumeBeingMade};
            m_callBeingMade.reset();
        }
    }

    // One call at a time: the next waits until the one before has been said.
    if (m_made && !m_saying) {
        if (m_queue.IsLate(m_made->call) || m_made->sound.samples.empty())
            m_queue.CountDropped();
        else if (!(m_saying = m_ring.PlayPcmSound(m_made->sound, m_made->volume, CallPan)))
            m_queue.CountDropped(); // every slot busy: race sounds go first
        m_made.reset();
    }

    if (!m_making && !m_made)
        StartNext();
}

void CallPlayer::StartNext() {
    while (std::optional<Call> call = m_queue.TakeNext()) {
        std::string words = CallWords(*call, m_state);
        if (words.empty())
            continue;
        const SpeechSettings& voice =
            call->kind == CallKind::Sample && m_sampleVoice ? *m_sampleVoice : m_settings;
        m_synthesizer.Start(SpeechRequest{std::move(words), voice.voice, voice.speed});
        m_making = true;
        m_volumeBeingMade = voice.volume;
        m_callBeingMade = std::move(call);
        return;
    }
}

void CallPlayer::Fail(const std::string& failure) {
    // Said once; from then on the calls are silent and the wave files play.
    m_failure = failure;
    m_queue.Clear();
    m_made.reset();
    m_callBeingMade.reset();
    m_dialogs.Show(Message{"", "Spoken calls are not available: " + failure +
                                   "\nThe timer goes on without them."});
}

} // namespace kesto
