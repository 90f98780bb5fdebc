#pragma once
// The spoken calls of the running timer: the speech settings read from their
// file, the race caller the engine reports to, the queue, the espeak-ng
// synthesiser and the player, pumped by a timer of the user-interface thread
// that runs only while there is something to say. With every call off nothing
// is queued, espeak-ng is never loaded and the wave files play as before.

#include "base/dialogs.h"
#include "engine/race_caller.h"
#include "sound/call_player.h"
#include "sound/call_queue.h"
#include "sound/qt/espeak_synthesizer.h"
#include "sound/race_calls.h"
#include "sound/speech_settings.h"

#include <QObject>

#include <filesystem>

class QTimer;

namespace kesto {

class SteadyCallClock final : public CallClock {
public:
    int64_t NowMs() override;
};

class SpokenCalls final : public QObject, private RaceCaller {
    Q_OBJECT
public:
    SpokenCalls(std::filesystem::path programFolder, const RaceState& state, SoundRing& ring,
                Dialogs& dialogs, EspeakLocation espeak = {}, QObject* parent = nullptr);
    ~SpokenCalls() override;

    // Reads the speech settings from their file (once, at start-up); with a
    // call on, espeak-ng is started at once, so a failure is told before the race.
    void LoadSettings();
    SpeechSettings& Settings() { return m_settings; }
    const std::filesystem::path& ProgramFolder() const { return m_folder; }
    // The settings were changed (the sound window's OK).
    void SettingsChanged();

    // What the engine reports to (RaceContext::caller).
    RaceCaller& Caller() { return *this; }

    // The voices espeak-ng has installed; empty until it has started, then
    // voicesChanged() is emitted. Asking starts it.
    std::vector<SpeechVoice> Voices();
    // Says `text` with the voice of `voice` (the sound window's try-out).
    void SaySample(const std::string& text, const SpeechSettings& voice);

    // One step of the player, as the pump timer runs it (tests drive it).
    void Pump();
    bool Busy() { return m_player.Busy(); }
    bool Works() const { return m_player.Works(); }
    CallQueue& Queue() { return m_queue; }
    EspeakSynthesizer& Synthesizer() { return m_synthesizer; }

signals:
    void voicesChanged();

private:
    // RaceCaller: forwarded to the race calls, then the pump wakes.
    void LapCounted(const RaceState& state, int id, bool newOverallBest) override;
    void StartLightsOn(const RaceState& state) override;
    void RaceClosed(const RaceState& state) override;
    bool TimeLeftDue(const RaceState& state, RaceSound event) override;
    void NextHeatCalledUp(std::string_view heat, const PerId<std::string>& names) override;

    void Wake();
    void WakeIfWaiting();

    std::filesystem::path m_folder;
    SpeechSettings m_settings;
    SteadyCallClock m_clock;
    CallQueue m_queue{m_clock};
    EspeakSynthesizer m_synthesizer;
    CallPlayer m_player;
    RaceCalls m_calls;
    QTimer* m_pump = nullptr;
    bool m_voicesKnown = false;
};

} // namespace kesto
