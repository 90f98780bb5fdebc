#pragma once
// A race meeting: a club night of many racers in heats over several
// qualifying rounds, then finals. This is the whole of what a meeting keeps:
// its set-up, the entries, every heat in running order with its result, and
// the results set aside by re-runs. The meeting file holds exactly this.

#include "engine/finish_rule.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

// The most cars in one heat: the decoder times IDs 1 to 14.
inline constexpr int MaxHeatSize = 14;
// The most laps a heat result holds: the race engine's lap counter is 16 bits.
inline constexpr int MaxHeatResultLaps = 32767;

// What an operation that the operator may be refused gives back: nothing when
// it was done, else the reason to show.
using Refusal = std::optional<std::string>;

// The race format of every heat: N laps or N minutes.
enum class HeatFormatKind { Laps, Minutes };
struct HeatFormat {
    HeatFormatKind kind = HeatFormatKind::Minutes;
    int count = 5;
    bool operator==(const HeatFormat&) const = default;
};
// "10 Lap Race", "5 Minute Race": the race format caption of the race screen.
std::string HeatFormatText(const HeatFormat& format);

enum class ScoringRule {
    BestRounds,   // RC qualifying: the best N rounds count, laps then time
    Points,       // points per finishing place, summed over the rounds
    LaneRotation, // slot cars: one heat on each lane, total laps then total time
};
struct Scoring {
    ScoringRule rule = ScoringRule::BestRounds;
    int countedRounds = 2;       // best rounds: N of the meeting's rounds
    std::vector<int> points;     // points: place 1 first; places beyond the list score 0
    bool dropWorstRound = false; // points: each racer's lowest round does not count
    bool operator==(const Scoring&) const = default;
};
// 10, 9, 8 ... 1.
std::vector<int> DefaultPoints();

struct MeetingEntry {
    int number = 0; // 1, 2, ... in order of entry, never reused
    std::string name;
    int transponder = 0; // the racer's decoder ID 1..14; 0: none (lanes are rotated)
    bool late = false;   // entered after the heats were planned
    bool operator==(const MeetingEntry&) const = default;
};

enum class HeatStage { Qualifying, Final };

// A racer's place in a heat.
struct HeatSlot {
    int entry = 0;
    int carId = 0; // the decoder ID the racer runs on: its transponder or its lane
    bool noShow = false;
    bool bumpedUp = false; // a final: came up from the main below
    bool operator==(const HeatSlot&) const = default;
};

// One racer's result in a heat: laps and total time as the race summary has
// them (a racer without laps has no time).
struct RacerResult {
    int entry = 0;
    int laps = 0;
    int32_t timeMs = 0;
    bool noShow = false;
    bool operator==(const RacerResult&) const = default;
};
using HeatResult = std::vector<RacerResult>;

struct Heat {
    int number = 0; // the heat's name on the call-up: 1, 2, ...; never reused
    HeatStage stage = HeatStage::Qualifying;
    int round = 0; // qualifying: 1..rounds (in a lane rotation, the rotation)
    int main = 0;  // a final: 0 the A main, 1 the B main, ...
    std::vector<HeatSlot> slots;
    std::optional<HeatResult> result;
    std::vector<HeatResult> setAside; // earlier results of re-runs, oldest first
    bool operator==(const Heat&) const = default;
};

struct FinalsSetup {
    std::vector<int> mainSizes; // qualifiers seeded straight into each main, A first
    int bumpUp = 0;             // top finishers of a main that go up into the next
    HeatFormat format;
    bool operator==(const FinalsSetup&) const = default;
};

struct Meeting {
    std::string name;
    std::string date; // YYYY-MM-DD
    HeatFormat heatFormat;
    int rounds = 3;    // qualifying rounds (lane rotation: full rotations)
    int heatSize = 10; // cars per heat; for a lane rotation, the number of lanes
    Scoring scoring;
    // How every heat ends once its time is up (or its leader has run the laps).
    FinishRule finish = FinishRule::LeaderAtFlag;
    std::vector<MeetingEntry> entries;
    // Running order: the qualifying heats, then the finals from the lowest main up.
    std::vector<Heat> heats;
    std::optional<FinalsSetup> finals;
    bool operator==(const Meeting&) const = default;
};

// A new meeting with the default scoring (best 2 of 3 rounds, points 10..1).
Meeting NewMeeting(std::string name, std::string date);

// Look-ups; nullptr when there is none.
const MeetingEntry* FindEntry(const Meeting& meeting, int entry);
Heat* FindHeat(Meeting& meeting, int heatNumber);
const Heat* FindHeat(const Meeting& meeting, int heatNumber);
const HeatSlot* FindSlot(const Heat& heat, int entry);
const RacerResult* FindResult(const HeatResult& result, int entry);

// The entry's name, or "#n" for a number not entered.
std::string EntryName(const Meeting& meeting, int entry);

// "A", "B", ... for main 0, 1, ...
std::string MainName(int main);

// The cars one heat can hold: the lanes of a lane rotation, else 14 IDs.
int HeatCapacity(const Meeting& meeting);

bool IsLaneRotation(const Meeting& meeting);

// A heat runs 1..3000 laps or 1..600 minutes.
Refusal CheckHeatFormat(const HeatFormat& format);

// The set-up's own rules: a name, a date YYYY-MM-DD, a heat format of at
// least one lap or minute, 1..20 rounds, a heat size of 1..14, counted rounds
// 1..rounds, a points list of 1..99 non-negative values.
Refusal CheckSetup(const Meeting& meeting);

} // namespace kesto
