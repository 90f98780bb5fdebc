#include "meeting/meeting_desk.h"

#include "base/safe_write.h"
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"

#include <charconv>
#include <sstream>

namespace kesto {
namespace {

constexpr size_t MaxDeskFileBytes = 64 * 1024;
constexpr const char* MeetingKey = "meeting=";
constexpr const char* HeatKey = "heat=";

// The heat's result files: "Heat 3", a re-run "Heat 3 re-run 1", a final "Heat 7 A Main".
std::string HeatFileBaseName(const Heat& heat) {
    std::string name = "Heat " + std::to_string(heat.number);
    if (heat.stage == HeatStage::Final)
        name += " " + HeatCallName(heat);
    if (!heat.setAside.empty())
        name += " re-run " + std::to_string(heat.setAside.size());
    return name;
}

bool StartsWith(const std::string& line, const char* key, std::string& rest) {
    const std::string_view prefix(key);
    if (line.compare(0, prefix.size(), prefix) != 0)
        return false;
    rest = line.substr(prefix.size());
    return true;
}

} // namespace

std::string HeatCallName(const Heat& heat) {
    if (heat.stage == HeatStage::Final)
        return MainName(heat.main) + " Main";
    return "Heat " + std::to_string(heat.number);
}

MeetingDesk::MeetingDesk(std::filesystem::path programFolder, HeatFiles& files, Dialogs& dialogs,
                         RaceCaller& caller)
    : m_programFolder(std::move(programFolder)), m_files(files), m_dialogs(dialogs),
      m_caller(caller) {}

void MeetingDesk::Restore() {
    std::string bytes;
    if (!ReadFilePrefix(m_programFolder / MeetingDeskFileName, MaxDeskFileBytes, bytes, nullptr))
        return;
    std::istringstream lines(bytes);
    std::string line, path, heat;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!StartsWith(line, MeetingKey, path))
            StartsWith(line, HeatKey, heat);
    }
    if (path.empty())
        return;
    std::string problem;
    m_open = OpenMeeting::Open(path, problem);
    if (!m_open) {
        // The desk file keeps naming it, so nothing is forgotten until the
        // operator opens another meeting.
        Report(problem);
        return;
    }
    int number = 0;
    std::from_chars(heat.data(), heat.data() + heat.size(), number);
    const Heat* loaded = FindHeat(meeting(), number);
    m_loadedHeat = loaded && !loaded->result ? number : 0;
}

Refusal MeetingDesk::Open(const std::filesystem::path& path) {
    std::string problem;
    std::optional<OpenMeeting> opened = OpenMeeting::Open(path, problem);
    if (!opened)
        return problem;
    m_open = std::move(opened);
    m_loadedHeat = 0;
    SaveDeskFile();
    Changed();
    return std::nullopt;
}

Refusal MeetingDesk::Create(const std::filesystem::path& path, Meeting meeting) {
    std::string problem;
    std::optional<OpenMeeting> created = OpenMeeting::Create(path, std::move(meeting), problem);
    if (!created)
        return problem;
    m_open = std::move(created);
    m_loadedHeat = 0;
    SaveDeskFile();
    Changed();
    return std::nullopt;
}

void MeetingDesk::Close() {
    m_open.reset();
    m_loadedHeat = 0;
    SaveDeskFile();
    Changed();
}

std::filesystem::path MeetingDesk::Folder() const {
    return m_open ? m_open->path().parent_path() : std::filesystem::path();
}

const Heat* MeetingDesk::ProposedHeat() const {
    return m_open ? NextHeat(meeting()) : nullptr;
}

Refusal MeetingDesk::LoadHeat(int heatNumber, RaceState& state) {
    if (!m_open)
        return "No meeting is open.";
    if (state.Button != StartButton::Start)
        return "A heat can be loaded only before a race starts: press Reset first.";
    const Heat* heat = FindHeat(meeting(), heatNumber);
    if (heat == nullptr)
        return "There is no heat " + std::to_string(heatNumber) + ".";
    if (heat->result)
        return HeatCallName(*heat) + " has been run. Re-run it to run it again.";
    ApplyHeatLoad(kesto::LoadHeat(meeting(), *heat), state);
    m_loadedHeat = heatNumber;
    SaveDeskFile();
    Changed();
    return std::nullopt;
}

void MeetingDesk::RaceClosed(const RaceState& state) {
    if (!m_open || m_loadedHeat == 0)
        return;
    const int number = m_loadedHeat;
    m_loadedHeat = 0;
    const Heat* heat = FindHeat(meeting(), number);
    if (heat == nullptr || heat->result) {
        SaveDeskFile();
        return;
    }
    const std::string baseName = HeatFileBaseName(*heat);
    HeatResult result = TakeHeatResult(state, heat->grid);
    // The meeting first: a crash before the desk file forgets the heat finds
    // the heat run and takes nothing twice.
    const Refusal recorded = ChangeMeeting(
        [&](Meeting& meeting) { return RecordHeatResult(meeting, number, std::move(result)); });
    SaveDeskFile();
    if (recorded)
        Report(*recorded);
    if (Refusal written = m_files.WriteHeatFiles(state, Folder(), baseName))
        Report(*written);
    Changed();
    CallUpNextHeat();
}

Refusal MeetingDesk::Change(const std::function<Refusal(Meeting&)>& change) {
    if (!m_open)
        return "No meeting is open.";
    Refusal refused = ChangeMeeting(change);
    // A loaded heat that a change has run or removed is loaded no more.
    const Heat* loaded = FindHeat(meeting(), m_loadedHeat);
    if (m_loadedHeat != 0 && (loaded == nullptr || loaded->result)) {
        m_loadedHeat = 0;
        SaveDeskFile();
    }
    Changed();
    return refused;
}

Refusal MeetingDesk::ChangeMeeting(const std::function<Refusal(Meeting&)>& change) {
    Refusal result = m_open->Change(change);
    if (std::optional<std::string> notice = m_open->TakeNotice()) {
        SaveDeskFile(); // a restarted timer opens the file the meeting went on in
        Report(*notice);
    }
    return result;
}

void MeetingDesk::SaveDeskFile() {
    std::string text;
    if (m_open)
        text = MeetingKey + m_open->path().string() + "\n" + HeatKey +
               std::to_string(m_loadedHeat) + "\n";
    std::string error;
    if (!WriteFileAtomically(m_programFolder / MeetingDeskFileName, text, &error))
        Report("The open meeting could not be noted in " + std::string(MeetingDeskFileName) + ": " +
               error + ".");
}

void MeetingDesk::Report(const std::string& text) {
    m_dialogs.Show(Message{"Meeting", text, MessageIcon::Warning});
}

void MeetingDesk::Changed() {
    if (m_changed)
        m_changed();
}

void MeetingDesk::CallUpNextHeat() {
    if (const Heat* next = ProposedHeat())
        m_caller.NextHeatCalledUp(HeatCallName(*next), kesto::LoadHeat(meeting(), *next).names);
}

void MeetingDeskCaller::LapCounted(const RaceState& state, int id, bool newOverallBest) {
    m_next.LapCounted(state, id, newOverallBest);
}
void MeetingDeskCaller::StartLightsOn(const RaceState& state) {
    m_next.StartLightsOn(state);
}
void MeetingDeskCaller::RaceClosed(const RaceState& state) {
    m_next.RaceClosed(state);
    m_desk.RaceClosed(state);
}
bool MeetingDeskCaller::TimeLeftDue(const RaceState& state, RaceSound event) {
    return m_next.TimeLeftDue(state, event);
}
void MeetingDeskCaller::NextHeatCalledUp(std::string_view heat, const PerId<std::string>& names) {
    m_next.NextHeatCalledUp(heat, names);
}

} // namespace kesto
