#pragma once
// Start windows without windows: runs the countdown and the start lights tick
// by tick at once, letting a test act before each tick (feed the decoder port,
// pause, click the lights).

#include "engine/race_context.h"
#include "engine/start_sequence.h"

#include <functional>
#include <vector>

namespace kesto::test {

class ScriptedStartSequenceLauncher final : public StartSequenceLauncher {
public:
    explicit ScriptedStartSequenceLauncher(RaceContext& ctx) : m_ctx(ctx) {}

    void ShowCountdown(StartSequenceHost& host) override;
    void ShowStartLights(StartSequenceHost& host) override;

    // Called before each tick of the countdown or of the lights.
    std::function<void(CountdownSequence&)> beforeCountdownTick;
    std::function<void(StartLightsSequence&)> beforeLightsTick;

    int countdownsShown = 0;
    int lightsShown = 0;
    std::vector<int> countdownNumbers; // the numbers the countdown showed
    int lightTicks = 0;                // ticks from the lights opening to their close
    int lightTicksToGreen = 0;
    int goDelay = 0;

private:
    RaceContext& m_ctx;
};

} // namespace kesto::test
