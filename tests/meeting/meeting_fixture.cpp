#include "meeting/meeting_fixture.h"

#include <algorithm>

namespace kesto {
void PrintTo(const RacerResult& racer, std::ostream* out) {
    *out << "{entry " << racer.entry << ", " << racer.laps << " laps, " << racer.timeMs << " ms"
         << (racer.noShow ? ", no-show}" : "}");
}
} // namespace kesto

namespace kesto::test {

Meeting PlannedMeeting(int racers, ScoringRule rule, int rounds, int heatSize) {
    Meeting meeting = NewMeeting("Club Night", "2026-12-08");
    meeting.scoring.rule = rule;
    meeting.rounds = rounds;
    meeting.heatSize = heatSize;
    meeting.scoring.countedRounds = std::min(2, rounds);
    for (int i = 1; i <= racers; ++i)
        EXPECT_FALSE(AddEntry(meeting, "Racer " + std::to_string(i), (i - 1) % MaxHeatSize + 1));
    EXPECT_FALSE(PlanQualifying(meeting));
    return meeting;
}

RacerResult Ran(int entry, int laps, int32_t timeMs) {
    return RacerResult{entry, laps, timeMs, false};
}

RacerResult NoShow(int entry) {
    return RacerResult{entry, 0, 0, true};
}

void Record(Meeting& meeting, int heat, std::initializer_list<RacerResult> racers) {
    HeatResult result;
    for (const auto& slot : FindHeat(meeting, heat)->grid) {
        RacerResult line{slot.entry};
        for (const auto& racer : racers)
            if (racer.entry == slot.entry)
                line = racer;
        result.push_back(line);
    }
    EXPECT_EQ(RecordHeatResult(meeting, heat, result), std::nullopt);
}

std::vector<int> EntriesOf(const Heat& heat) {
    std::vector<int> entries;
    for (const auto& slot : heat.grid)
        entries.push_back(slot.entry);
    return entries;
}

} // namespace kesto::test
