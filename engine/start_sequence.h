#pragma once
// The start of a lap or timed race: the countdown of the start delay
// (frmKestoCountdown) and the four start lights with their random wait before
// green (frmKestoFormula1), as plain state machines advanced one step per
// one-second tick. The windows only show them; race control hands over to them
// through a StartSequenceLauncher and takes the race back through the host.

#include "engine/race_context.h"

#include <array>
#include <cstdint>

namespace kesto {

// What the start lights do to the race on the main window.
class StartSequenceHost {
public:
    virtual ~StartSequenceHost() = default;
    // Green: drop everything waiting in the decoder port, show the flag
    // picture, start the race timer, raise RTS, race clock 0, clock text white.
    virtual void StartTimingAtGreen() = 0;
    // The start lights have closed: the start button reads "Abort".
    virtual void StartLightsClosed() = 0;
};

// Shows the start windows modally. Each call returns once the start lights have
// closed.
class StartSequenceLauncher {
public:
    virtual ~StartSequenceLauncher() = default;
    // The countdown of the start delay, followed by the start lights.
    virtual void ShowCountdown(StartSequenceHost& host) = 0;
    // The start lights alone (no start delay).
    virtual void ShowStartLights(StartSequenceHost& host) = 0;
};

// The countdown of the start delay. Each tick shows DelayLeft and counts it
// down; it is over on the tick that shows 0 or less, or when skipped.
class CountdownSequence final {
public:
    // DelayLeft starts at the start delay of the settings.
    explicit CountdownSequence(RaceContext& ctx);

    // One second: returns the number shown. Announces the start at 21 ("Race
    // Starts in 20 sec") and 6 ("Race Starts in 5 sec"). Does nothing while
    // paused or once finished (then the last number shown is returned).
    int Tick();

    // The pause button: pauses a running countdown, continues a paused one.
    void TogglePause();
    bool Paused() const { return m_paused; }
    // Caption of the pause button: "&Pause Delay" or "&Continue Delay".
    const char* PauseButtonCaption() const;

    // Skips the rest of the delay.
    void Skip() { m_finished = true; }
    bool Finished() const { return m_finished; }

    int16_t DelayLeft() const { return m_delayLeft; }
    int Shown() const { return m_shown; }

private:
    RaceContext& m_ctx;
    int16_t m_delayLeft;
    int m_shown;
    bool m_paused = false;
    bool m_finished = false;
};

enum class LightColor { Off, Red, Green };

// The four start lights. Opening plays "Get Ready" and draws GoDelay, 1 to 3 s.
// Ticks 1 to 4 turn the lights red one by one with a beep, tick GoDelay + 4
// turns them all green and begins timing, tick GoDelay + 5 closes.
class StartLightsSequence final {
public:
    StartLightsSequence(RaceContext& ctx, StartSequenceHost& host);

    // One second of the lights.
    void Tick();
    // A click on the window skips the red lights still to come; the random wait
    // still runs. Once the red lights are done a click changes nothing.
    void Click();

    bool IsGreen() const { return m_green; }
    bool Closed() const { return m_closed; }
    int16_t LightStep() const { return m_lightStep; }
    int16_t GoDelay() const { return m_goDelay; }
    const std::array<LightColor, 4>& Lights() const { return m_lights; }

private:
    void Green();

    RaceContext& m_ctx;
    StartSequenceHost& m_host;
    int16_t m_lightStep = 1;
    int16_t m_goDelay = 1;
    std::array<LightColor, 4> m_lights{};
    bool m_green = false;
    bool m_closed = false;
};

} // namespace kesto
