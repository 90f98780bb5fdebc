#include "sound/qt/spoken_calls.h"

#include <QTimer>

#include <chrono>

namespace kesto {

namespace {
// How often the player looks whether the call being said has ended or the
// next one is made; a call waits at most this long for its turn.
constexpr int PumpMs = 20;
} // namespace

int64_t SteadyCallClock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

SpokenCalls::SpokenCalls(std::filesystem::path programFolder, const RaceState& state,
                         SoundRing& ring, Dialogs& dialogs, EspeakLocation espeak, QObject* parent)
    : QObject(parent), m_folder(std::move(programFolder)), m_synthesizer(std::move(espeak)),
      m_player(m_queue, m_synthesizer, ring, dialogs, m_settings, state),
      m_calls(m_settings, m_queue, [this] { return m_player.Works(); }), m_pump(new QTimer(this)) {
    m_pump->setObjectName(QStringLiteral("tmrSpokenCalls"));
    m_pump->setInterval(PumpMs);
    connect(m_pump, &QTimer::timeout, this, &SpokenCalls::Pump);
}

SpokenCalls::~SpokenCalls() = default;

void SpokenCalls::LoadSettings() {
    m_settings = ReadSpeechSettings(m_folder);
    SettingsChanged();
}

void SpokenCalls::SettingsChanged() {
    if (m_settings.AnyCallOn()) {
        m_player.Prepare();
        Wake();
    }
}

std::vector<SpeechVoice> SpokenCalls::Voices() {
    if (!m_voicesKnown) {
        m_player.Prepare();
        Wake();
    }
    return m_synthesizer.Voices();
}

void SpokenCalls::SaySample(const std::string& text, const SpeechSettings& voice) {
    m_player.SaySample(text, voice);
    Wake();
}

void SpokenCalls::Pump() {
    m_player.Pump();
    if (!m_voicesKnown && !m_synthesizer.Voices().empty()) {
        m_voicesKnown = true;
        emit voicesChanged();
    }
    if (!m_player.Busy())
        m_pump->stop();
}

void SpokenCalls::Wake() {
    // From the race tick too: starting an idle timer is all it costs there.
    if (!m_pump->isActive())
        m_pump->start();
}

void SpokenCalls::WakeIfWaiting() {
    if (m_queue.Waiting() > 0)
        Wake();
}

void SpokenCalls::LapCounted(const RaceState& state, int id, bool newOverallBest) {
    m_calls.LapCounted(state, id, newOverallBest);
    WakeIfWaiting();
}

void SpokenCalls::StartLightsOn(const RaceState& state) {
    m_calls.StartLightsOn(state);
    WakeIfWaiting();
}

void SpokenCalls::RaceClosed(const RaceState& state) {
    m_calls.RaceClosed(state);
    WakeIfWaiting();
}

bool SpokenCalls::TimeLeftDue(const RaceState& state, RaceSound event) {
    const bool spoken = m_calls.TimeLeftDue(state, event);
    WakeIfWaiting();
    return spoken;
}

void SpokenCalls::NextHeatCalledUp(std::string_view heat, const PerId<std::string>& names) {
    m_calls.NextHeatCalledUp(heat, names);
    WakeIfWaiting();
}

} // namespace kesto
