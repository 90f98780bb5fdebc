#pragma once
// Race meetings in the program: the meeting desk (meeting/meeting_desk.h) on
// the race caller's close, the heats' result files written with the reports'
// writers, the meeting that was open reopened at start-up (and a race resumed
// after its close taken into it), and "Load heat" shown on the race screen.
// Without a meeting nothing here acts: a single race runs as it always did.

#include "app/heat_result_files.h"
#include "meeting/finals.h"
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_file.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"

#include "meeting/qt/meeting_window.h"
#include "meeting/qt/standings_window.h"

#include <QPointer>

#include <filesystem>
#include <functional>

class QMainWindow;

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
    void Restore();
    // After a race was resumed: one that had closed before the program
    // stopped gives the loaded heat its result now.
    void RaceResumed();
    // "Load heat", then the race screen shows the heat's names and format.
    Refusal LoadHeat(int heatNumber);

    // "&Racers" / "Meeting..." on the main window.
    void AddMenuItem(QMainWindow& window);
    void ShowMeeting();
    void ShowStandings();
    FrmMeeting* MeetingWindow() const { return m_meetingWindow; }
    // Told, after the open windows, whenever the meeting may have changed
    // (and once it is restored at start-up).
    void OnChanged(std::function<void()> changed) { m_alsoChanged = std::move(changed); }
    FrmStandings* StandingsWindow() const { return m_standingsWindow; }

private:
    RaceContext& m_ctx;
    FrmKestoTimer& m_window;
    ReportHeatFiles m_files;
    MeetingDesk m_desk;
    MeetingDeskCaller m_caller;
    std::filesystem::path m_folder;
    QPointer<FrmMeeting> m_meetingWindow;
    QPointer<FrmStandings> m_standingsWindow;
    std::function<void()> m_alsoChanged;
};

} // namespace kesto
