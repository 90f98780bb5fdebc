#include "support/scripted_start_sequence.h"

namespace kesto::test {

namespace {
constexpr int MaxTicks = 100000; // a paused countdown that nobody continues
}

void ScriptedStartSequenceLauncher::ShowCountdown(StartSequenceHost& host) {
    ++countdownsShown;
    CountdownSequence countdown(m_ctx);
    for (int i = 0; i < MaxTicks && !countdown.Finished(); ++i) {
        if (beforeCountdownTick)
            beforeCountdownTick(countdown);
        if (countdown.Finished())
            break;
        if (!countdown.Paused())
            countdownNumbers.push_back(countdown.Tick());
    }
    ShowStartLights(host);
}

void ScriptedStartSequenceLauncher::ShowStartLights(StartSequenceHost& host) {
    ++lightsShown;
    StartLightsSequence lights(m_ctx, host);
    goDelay = lights.GoDelay();
    lightTicks = 0;
    lightTicksToGreen = 0;
    for (int i = 0; i < MaxTicks && !lights.Closed(); ++i) {
        if (beforeLightsTick)
            beforeLightsTick(lights);
        lights.Tick();
        ++lightTicks;
        if (lights.IsGreen() && lightTicksToGreen == 0)
            lightTicksToGreen = lightTicks;
    }
}

} // namespace kesto::test
