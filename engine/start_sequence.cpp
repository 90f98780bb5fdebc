#include "engine/start_sequence.h"

#include "base/guarded_step.h"
#include "engine/announcements.h"

#include <algorithm>

namespace kesto {

namespace {
constexpr int FirstGoStep = 5; // the step after the fourth red light
}

CountdownSequence::CountdownSequence(RaceContext& ctx)
    : m_ctx(ctx), m_delayLeft(ctx.state.Settings.StartDelay), m_shown(m_delayLeft) {}

int CountdownSequence::Tick() {
    if (m_paused || m_finished)
        return m_shown;
    m_shown = m_delayLeft;
    --m_delayLeft;
    if (m_shown > 0) {
        if (m_shown == 21)
            RunGuarded([&] { PlayRaceSound(m_ctx.sounds, m_ctx.player, RaceStartsIn20Sec); });
        else if (m_shown == 6)
            RunGuarded([&] { PlayRaceSound(m_ctx.sounds, m_ctx.player, RaceStartsIn5Sec); });
    } else {
        m_finished = true;
    }
    return m_shown;
}

void CountdownSequence::TogglePause() {
    m_paused = !m_paused;
}

const char* CountdownSequence::PauseButtonCaption() const {
    return m_paused ? "&Continue Delay" : "&Pause Delay";
}

StartLightsSequence::StartLightsSequence(RaceContext& ctx, StartSequenceHost& host)
    : m_ctx(ctx), m_host(host) {
    RunGuarded([&] { PlayRaceSound(m_ctx.sounds, m_ctx.player, GetReady); });
    RunGuarded([&] { m_ctx.Caller().StartLightsOn(m_ctx.state); });
    double r = m_ctx.random.Next();
    m_goDelay = static_cast<int16_t>(std::clamp(static_cast<int>(r * 3 + 1), 1, 3));
}

void StartLightsSequence::Tick() {
    if (m_closed)
        return;
    if (m_lightStep >= 1 && m_lightStep <= 4) {
        m_lights[m_lightStep - 1] = LightColor::Red;
        RunGuarded([&] { m_ctx.player.PlayWav("beep.wav"); });
    } else if (m_lightStep == m_goDelay + 4) {
        Green();
    } else if (m_lightStep == m_goDelay + 5) {
        m_closed = true;
        m_host.StartLightsClosed();
    }
    ++m_lightStep;
}

void StartLightsSequence::Click() {
    // Only forwards: a click after green must not bring green (and the race
    // clock's zero) round a second time.
    if (m_lightStep < FirstGoStep)
        m_lightStep = FirstGoStep;
}

void StartLightsSequence::Green() {
    RunGuarded([&] {
        if (!PlayRaceSound(m_ctx.sounds, m_ctx.player, Go))
            m_ctx.player.PlayWav("beep.wav");
    });
    m_lights.fill(LightColor::Green);
    m_green = true;
    m_host.StartTimingAtGreen();
}

} // namespace kesto
