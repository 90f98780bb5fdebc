#pragma once
// The meeting desk: the race meeting open in the running timer and what the
// operator does with it between heats. It proposes the next heat, loads a
// heat onto the race state and remembers it, takes the heat's result when
// the race closes (the meeting file saved, the heat's .sum and .lap written
// into the meeting's folder) and saves each of the operator's changes at
// once. Which meeting is open and which heat is loaded are kept in the
// program folder's "KestoMeeting.dat", so a timer killed mid-heat comes back
// to the same heat and the resumed race closes into the meeting.

#include "base/dialogs.h"
#include "engine/race_caller.h"
#include "engine/race_state.h"
#include "meeting/meeting.h"
#include "meeting/meeting_file.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kesto {

inline constexpr const char* MeetingDeskFileName = "KestoMeeting.dat";

// Writes a closed heat's result files; the program writes them with the
// reports' own writers, which this floor cannot reach.
class HeatFiles {
public:
    virtual ~HeatFiles() = default;
    // `folder`/`baseName`.sum and .lap from the race as it closed; on failure
    // the message to show.
    virtual Refusal WriteHeatFiles(const RaceState& state, const std::filesystem::path& folder,
                                   const std::string& baseName) = 0;
};

// "Heat 3", or "A Main", "B Main" for the finals: the heat as it is called up.
std::string HeatCallName(const Heat& heat);

class MeetingDesk final {
public:
    // `caller` hears the next heat called up; problems are shown through `dialogs`.
    MeetingDesk(std::filesystem::path programFolder, HeatFiles& files, Dialogs& dialogs,
                RaceCaller& caller);

    // Reopens the meeting (and the loaded heat) the timer had when it stopped.
    // A meeting file gone or damaged is reported and stays closed.
    void Restore();
    // Opens a meeting file; a damaged one is reported and never written.
    Refusal Open(const std::filesystem::path& path);
    // Starts a new meeting file; an existing file of that name is never replaced.
    Refusal Create(const std::filesystem::path& path, Meeting meeting);
    void Close();

    bool IsOpen() const { return m_open.has_value(); }
    // Only while open.
    const Meeting& meeting() const { return m_open->meeting(); }
    const std::filesystem::path& Path() const { return m_open->path(); }
    // Where the heats' result files go: the meeting file's folder.
    std::filesystem::path Folder() const;

    // The heat to run next; nullptr when none (or no meeting).
    const Heat* ProposedHeat() const;
    // The heat on the race state, waiting for its race to close; 0 for none.
    int LoadedHeat() const { return m_loadedHeat; }

    // "Load heat": the heat's racers onto their IDs and its format onto the
    // race state. Refused while a race is on, or for a heat already run.
    Refusal LoadHeat(int heatNumber, RaceState& state);
    // The race closed: with a heat loaded, its result goes into the meeting,
    // the meeting is saved and the heat's files are written.
    void RaceClosed(const RaceState& state);

    // Any change of the meeting (re-run, move, late entry, no-show, set-up),
    // saved at once. A refusal or a failed save is returned for showing.
    Refusal Change(const std::function<Refusal(Meeting&)>& change);

    // Told after anything the windows show may have changed; may be empty.
    void OnChanged(std::function<void()> changed) { m_changed = std::move(changed); }

private:
    // A change of the open meeting; a file changed behind the timer's back
    // is told once, and the meeting goes on in the file beside it.
    Refusal ChangeMeeting(const std::function<Refusal(Meeting&)>& change);
    void SaveDeskFile();
    void Report(const std::string& text);
    void CallUpNextHeat();
    void Changed();

    std::filesystem::path m_programFolder;
    HeatFiles& m_files;
    Dialogs& m_dialogs;
    RaceCaller& m_caller;
    std::optional<OpenMeeting> m_open;
    int m_loadedHeat = 0;
    std::function<void()> m_changed;
};

// The race caller of a timer with a meeting desk: every call goes on to the
// next caller (the spoken calls), and a closed race also to the desk.
class MeetingDeskCaller final : public RaceCaller {
public:
    MeetingDeskCaller(MeetingDesk& desk, RaceCaller& next) : m_desk(desk), m_next(next) {}

    void LapCounted(const RaceState& state, int id, bool newOverallBest) override;
    void StartLightsOn(const RaceState& state) override;
    void RaceClosed(const RaceState& state) override;
    bool TimeLeftDue(const RaceState& state, RaceSound event) override;
    void NextHeatCalledUp(std::string_view heat, const PerId<std::string>& names) override;

private:
    MeetingDesk& m_desk;
    RaceCaller& m_next;
};

} // namespace kesto
