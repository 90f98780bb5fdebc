#include "engine/race_tick.h"

#include "base/guarded_step.h"
#include "engine/decoder_input.h"
#include "engine/demo_generator.h"
#include "engine/standings.h"

namespace kesto {

RaceTick::RaceTick(RaceContext& ctx, RaceControl& control, RaceScreen& screen)
    : m_ctx(ctx), m_control(control), m_linkWatch(ctx, screen, control.Input()) {}

void RaceTick::Timer1_Timer(int32_t Milliseconds) {
    // Everything this tick records reaches the disk in one write as it ends.
    const JournalTickHold hold(m_ctx.Journal());
    CheckRace();

    if (m_ctx.state.DemoMode) {
        // The port is not read in demo mode, even with a decoder connected.
        RunGuarded([&] { DemoStep(m_ctx, Milliseconds, [this] { UpdateScreen(); }); });
        RunGuarded([&] { m_linkWatch.Stop(); }); // demo mode ticked mid-race: nothing to watch
        return;
    }
    m_ctx.state.Decoder.Advance(Milliseconds);
    // As if each line had its own tick: before every record after the tick's
    // first, the standings and the finish check see the race as the next tick
    // would, so lines that arrive together (a stall, a resume's backlog) drop
    // the flags and close the race at the same line as lines a tick apart.
    bool recordTaken = false;
    const BeforeRecord betweenRecords = [&] {
        if (recordTaken) {
            RunGuarded([&] { RefreshStandings(m_ctx.state, m_ctx.lapViewerGrid); });
            CheckRace();
        }
        recordTaken = true;
    };
    PortReading reading;
    RunGuarded([&] { reading = ReadDecoderPort(m_ctx, m_control.Input(), betweenRecords); });
    RunGuarded([&] { m_linkWatch.Tick(Milliseconds, reading); });
    UpdateScreen();
}

void RaceTick::CheckRace() {
    RunGuarded([&] { m_control.ShowRaceClock(); });
    RunGuarded([&] { m_control.CheckFinish(); });
}

void RaceTick::RaceTimerStopped() {
    RunGuarded([&] { m_linkWatch.Stop(); });
}

void RaceTick::UpdateScreen() {
    RunGuarded([&] { m_ctx.Journal().Record(JournalEvent::ScreenUpdated(m_ctx.state.RaceClock)); });
    m_control.RefreshChangedRaceScreen();
}

} // namespace kesto
