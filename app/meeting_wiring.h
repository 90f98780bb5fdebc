#pragma once
// Race meetings in the program: the meeting desk (meeting/meeting_desk.h) on
// the race caller's close, the heats' result files written with the reports'
// writers, the meeting that was open reopened at start-up (and a race resumed
// after its close taken into it), and "Load heat" shown on the race screen.
// Without a meeting nothing here acts: a single race runs as it always did.

#include "app/heat_result_files.h"
#include "meeting/qt/meeting_core.h"

#include <filesystem>

namespace kesto {

class FrmKestoTimer;
struct RaceContext;

class MeetingWiring final {
public:
    // `next` is the caller that was there before (the spoken calls).
    MeetingWiring(RaceContext& ctx, FrmKestoTimer& window, std::filesystem::path programFolder,
                  RaceCaller& next);

    // For RaceContext::caller: passes everything on to `next`, and the close to the desk.
    RaceCaller& Caller() { return m_caller; }
    MeetingDesk& Desk() { return m_desk; }

    // At start-up, before a race is offered for resuming.
    void Restore() { m_desk.Restore(); }
    // After a race was resumed: one that had closed before the program
    // stopped gives the loaded heat its result now.
    void RaceResumed();
    // "Load heat", then the race screen shows the heat's names and format.
    Refusal LoadHeat(int heatNumber);

private:
    RaceContext& m_ctx;
    FrmKestoTimer& m_window;
    ReportHeatFiles m_files;
    MeetingDesk m_desk;
    MeetingDeskCaller m_caller;
};

} // namespace kesto
