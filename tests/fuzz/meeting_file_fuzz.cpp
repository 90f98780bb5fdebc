// Two ways into a meeting, chosen by the first byte:
// - arbitrary bytes to the meeting file reader: it must never crash; a meeting
//   it accepts must score, report and write, and read back as the same meeting;
// - a club night run by the bytes: entries, planning, results, re-runs, moves,
//   no-shows, late entries and finals in any order. Whatever the operator
//   does, the meeting stays one its file can hold and read back.

#include "meeting/finals.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting_file_check.h"
#include "meeting/meeting_json.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace kesto;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Everything that reads a meeting, and the file's round trip.
void Exercise(const Meeting& meeting) {
    QualifyingStandings(meeting);
    FinalStandings(meeting);
    StandingsReportText(meeting);
    NextHeat(meeting);
    Meeting again;
    Check(!MeetingFromJson(MeetingToJson(meeting), again) && again == meeting);
}

class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_at >= m_size; }
    int Next(int below) { return Empty() ? 0 : m_data[m_at++] % below; }

private:
    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void RunNight(Bytes& bytes) {
    Meeting meeting = NewMeeting("Club Night", "2026-12-08");
    meeting.scoring.rule = static_cast<ScoringRule>(bytes.Next(3));
    meeting.rounds = 1 + bytes.Next(4);
    meeting.heatSize = 1 + bytes.Next(MaxHeatSize);
    meeting.scoring.countedRounds = 1 + bytes.Next(meeting.rounds);
    meeting.scoring.dropWorstRound = bytes.Next(2) == 1;
    const int racers = 1 + bytes.Next(30);
    for (int i = 0; i < racers; ++i)
        AddEntry(meeting, "Racer " + std::to_string(i), bytes.Next(MaxHeatSize + 1));
    PlanQualifying(meeting);
    while (!bytes.Empty()) {
        const int heat = 1 + bytes.Next(64);
        const int entry = 1 + bytes.Next(40);
        switch (bytes.Next(7)) {
        case 0:
            if (const Heat* next = NextHeat(meeting)) {
                HeatResult result;
                for (const auto& slot : next->grid)
                    result.push_back(
                        RacerResult{slot.entry, bytes.Next(4), 1000 * bytes.Next(3), false});
                Check(!RecordHeatResult(meeting, next->number, result));
            }
            break;
        case 1:
            ReRunHeat(meeting, heat);
            break;
        case 2:
            MoveRacer(meeting, entry, heat, 1 + bytes.Next(64));
            break;
        case 3:
            SetNoShow(meeting, heat, entry, bytes.Next(2) == 1);
            break;
        case 4:
            AddEntry(meeting, "Late " + std::to_string(entry), bytes.Next(MaxHeatSize + 1));
            break;
        case 5: {
            FinalsSetup setup;
            for (int mains = 1 + bytes.Next(3); mains > 0; --mains)
                setup.mainSizes.push_back(1 + bytes.Next(MaxHeatSize));
            setup.bumpUp = bytes.Next(3);
            PlanFinals(meeting, setup);
            break;
        }
        default:
            PlanQualifying(meeting);
        }
        Check(!CheckMeetingFile(meeting));
        Exercise(meeting);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0) {
        Bytes bytes(data + 1, size - 1);
        RunNight(bytes);
        return 0;
    }
    Meeting meeting;
    if (!MeetingFromJson(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1),
                         meeting))
        Exercise(meeting);
    return 0;
}
