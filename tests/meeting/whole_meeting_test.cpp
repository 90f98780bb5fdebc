// A whole club night from scripted heat results: 20 racers, 3 qualifying
// rounds in heats of 10 (best 2 rounds count), A and B finals of 10 with one
// bump-up. Every heat is loaded onto a race state, "raced" by setting each
// racer's laps and total time on the ID the load gave it, and taken back into
// the meeting, which is saved after every change and reopened at the end.
#include "engine/race_state.h"
#include "meeting/finals.h"
#include "meeting/heat_load.h"
#include "meeting/meeting_file.h"
#include "meeting/meeting_fixture.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace kesto {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Line {
    int laps; // -1: a no-show
    int32_t ms;
};
constexpr Line Dns{-1, 0};
using HeatSheet = std::map<std::string, Line>;

// The qualifying rounds, laps and total time (ms) of each racer. Heats of each
// round: Ann..Jo, then Kim..Tia. Transponders 1..14 in entry order, then 1..6.
const std::vector<std::pair<std::string, std::array<Line, 3>>> Qualifying = {
    {"Ann", {{{24, 301200}, {25, 300400}, {25, 302900}}}},
    {"Ben", {{{26, 300100}, {26, 301700}, {25, 300000}}}},
    {"Cal", {{{23, 305000}, {24, 300900}, {24, 303300}}}},
    {"Dan", {{{25, 302000}, {25, 301000}, {24, 300500}}}},
    {"Eve", {{{22, 300800}, {23, 302200}, {23, 301100}}}},
    {"Fay", {{{24, 300300}, {0, 0}, {24, 302700}}}}, // no lap in round 2
    {"Gus", {{{21, 304400}, {22, 300600}, {22, 305800}}}},
    {"Hal", {{Dns, {25, 303500}, {25, 300800}}}},
    {"Ian", {{{20, 301900}, {21, 303000}, {20, 300200}}}},
    {"Jo", {{{23, 302600}, {23, 300700}, {22, 301400}}}},
    {"Kim", {{{27, 300500}, {27, 302100}, {26, 300900}}}},
    {"Lee", {{{26, 301300}, {27, 303900}, {27, 301800}}}},
    {"Max", {{{25, 300200}, {24, 301600}, {25, 304100}}}},
    {"Ned", {{{24, 303700}, {25, 300300}, {24, 300100}}}},
    {"Ola", {{{22, 300900}, {21, 300100}, {23, 302300}}}},
    {"Pia", {{{21, 300000}, {22, 304200}, {21, 300600}}}},
    {"Quin", {{{20, 302800}, {19, 300500}, {20, 303600}}}},
    {"Rex", {{{19, 300700}, {20, 301500}, {19, 301000}}}},
    {"Sam", {{{18, 301100}, {18, 300900}, {17, 300300}}}},
    {"Tia", {{{0, 0}, {17, 302400}, {19, 301700}}}}, // no lap in round 1
};

class WholeMeeting : public test::TempFolderTest {
protected:
    void Change(const std::function<Refusal(Meeting&)>& change) {
        ASSERT_EQ(open->Change(change), std::nullopt);
    }

    // Runs the proposed heat: marks its no-shows, loads it onto a race state,
    // lets every racer do its laps on the ID the load named it on, and records
    // what the race state then holds.
    void RunNextHeat(const HeatSheet& sheet) {
        const int heat = NextHeat(open->meeting())->number;
        const std::vector<HeatSlot> slots =
            NextHeat(open->meeting())->grid; // a change replaces them
        for (const auto& slot : slots)
            if (sheet.at(EntryName(open->meeting(), slot.entry)).laps < 0)
                Change([&](Meeting& m) { return SetNoShow(m, heat, slot.entry, true); });
        const Heat& loaded = *NextHeat(open->meeting());
        RaceState race;
        ApplyHeatLoad(LoadHeat(open->meeting(), loaded), race);
        for (int id = 1; id <= MaxCarIds; ++id) {
            const auto line = sheet.find(race.IdName(id));
            if (line != sheet.end() && line->second.laps > 0) {
                race.LapCount[id - 1] = static_cast<int16_t>(line->second.laps);
                race.LastPassTime[id - 1] = line->second.ms;
            }
        }
        const HeatResult result = TakeHeatResult(race, loaded.grid);
        Change([&](Meeting& m) { return RecordHeatResult(m, heat, result); });
    }

    HeatSheet Round(int round) const {
        HeatSheet sheet;
        for (const auto& [name, rounds] : Qualifying)
            sheet[name] = rounds[round - 1];
        return sheet;
    }

    std::vector<std::string> Names(const std::vector<int>& entries) const {
        std::vector<std::string> names;
        for (int entry : entries)
            names.push_back(EntryName(open->meeting(), entry));
        return names;
    }

    std::optional<OpenMeeting> open;
};

TEST_F(WholeMeeting, TwentyRacersThreeRoundsAndABFinalsWithABumpUp) {
    std::string problem;
    Meeting setup = NewMeeting("Club Night", "2026-12-08");
    setup.heatFormat = HeatFormat{HeatFormatKind::Minutes, 5};
    open = OpenMeeting::Create(folder / MeetingFileName(setup), setup, problem);
    ASSERT_TRUE(open) << problem;
    for (size_t i = 0; i < Qualifying.size(); ++i)
        Change([&](Meeting& m) {
            return AddEntry(m, Qualifying[i].first, static_cast<int>(i % 14) + 1);
        });
    Change(PlanQualifying);
    ASSERT_EQ(open->meeting().heats.size(), 6u);

    RunNextHeat(Round(1));
    RunNextHeat(Round(1));
    RunNextHeat(Round(2));
    // Heat 4 (round 2, Kim..Tia) first closes on a timing fault and is re-run.
    HeatSheet fault;
    for (const auto& [name, line] : Round(2))
        fault[name] = Line{5, 60000};
    RunNextHeat(fault);
    Change([](Meeting& m) { return ReRunHeat(m, 4); });
    EXPECT_EQ(NextHeat(open->meeting())->number, 4);
    RunNextHeat(Round(2));
    RunNextHeat(Round(3));
    RunNextHeat(Round(3));
    ASSERT_EQ(FindHeat(open->meeting(), 4)->setAside.size(), 1u);
    EXPECT_EQ(FindHeat(open->meeting(), 4)->setAside[0][0].laps, 5);

    // The best 2 rounds of each racer, laps and seconds, worked out by hand:
    //   Kim 27 300.5 + 27 302.1 = 54 602.6    Lee 27 301.8 + 27 303.9 = 54 605.7
    //   Ben 26 300.1 + 26 301.7 = 52 601.8    Dan 25 301.0 + 25 302.0 = 50 603.0
    //   Ann 25 300.4 + 25 302.9 = 50 603.3    Max 25 300.2 + 25 304.1 = 50 604.3
    //   Hal 25 300.8 + 25 303.5 = 50 604.3    Ned 25 300.3 + 24 300.1 = 49 600.4
    //   Fay 24 300.3 + 24 302.7 = 48 603.0    Cal 24 300.9 + 24 303.3 = 48 604.2
    //   Eve 23 301.1 + 23 302.2 = 46 603.3    Jo  23 300.7 + 23 302.6 = 46 603.3
    //   Ola 23 302.3 + 22 300.9 = 45 603.2    Gus 22 300.6 + 22 305.8 = 44 606.4
    //   Pia 22 304.2 + 21 300.0 = 43 604.2    Ian 21 303.0 + 20 300.2 = 41 603.2
    //   Quin 20 302.8 + 20 303.6 = 40 606.4   Rex 20 301.5 + 19 300.7 = 39 602.2
    //   Sam 18 300.9 + 18 301.1 = 36 602.0    Tia 19 301.7 + 17 302.4 = 36 604.1
    // Level: Max and Hal part on the next best round (Max 24 laps, Hal a
    // no-show); Eve and Jo too (Eve 22 in 300.8 s, Jo 22 in 301.4 s).
    const auto qualifying = QualifyingStandings(open->meeting());
    std::vector<int> order;
    for (const auto& row : qualifying)
        order.push_back(row.entry);
    EXPECT_THAT(Names(order),
                ElementsAre("Kim", "Lee", "Ben", "Dan", "Ann", "Max", "Hal", "Ned", "Fay", "Cal",
                            "Eve", "Jo", "Ola", "Gus", "Pia", "Ian", "Quin", "Rex", "Sam", "Tia"));
    EXPECT_EQ(qualifying[0].laps, 54);
    EXPECT_EQ(qualifying[0].timeMs, 602600);
    EXPECT_EQ(qualifying[6].timeMs, 604300);
    EXPECT_EQ(qualifying[6].position, 7);
    EXPECT_EQ(qualifying[19].timeMs, 604100);

    // A main: the top 10 and the B main's winner; B main: places 11 to 20.
    Change([](Meeting& m) {
        return PlanFinals(m, FinalsSetup{{10, 10}, 1, {HeatFormatKind::Minutes, 8}});
    });
    // Sam shares transponder 5 with Eve: he runs the B main on 8, an ID nobody in it owns.
    EXPECT_EQ(FindSlot(*FindHeat(open->meeting(), 7), 19)->carId, 8);
    RunNextHeat({{"Ola", {30, 480500}},
                 {"Eve", {30, 481200}},
                 {"Jo", {29, 479000}},
                 {"Gus", {29, 482000}},
                 {"Ian", {28, 480000}},
                 {"Pia", {28, 481000}},
                 {"Quin", {27, 480300}},
                 {"Rex", {26, 481700}},
                 {"Sam", {0, 0}},
                 {"Tia", Dns}});
    // Ola goes up; Ann has her transponder 1 there, so she runs on 5, the lowest free ID.
    const HeatSlot& bumped = open->meeting().heats.back().grid.back();
    EXPECT_EQ(EntryName(open->meeting(), bumped.entry), "Ola");
    EXPECT_EQ(bumped.carId, 5);
    // Ben and Ned dead-heat for 4th.
    RunNextHeat({{"Lee", {32, 480100}},
                 {"Kim", {32, 480900}},
                 {"Ola", {31, 479900}},
                 {"Ben", {31, 481500}},
                 {"Ned", {31, 481500}},
                 {"Dan", {30, 480200}},
                 {"Ann", {30, 481000}},
                 {"Max", {29, 480700}},
                 {"Hal", {29, 482300}},
                 {"Fay", {28, 480400}},
                 {"Cal", {27, 481100}}});
    EXPECT_EQ(NextHeat(open->meeting()), nullptr);

    // The night: the A main's 11 by place, then the B main without Ola.
    const auto standings = FinalStandings(open->meeting());
    std::vector<int> night;
    for (const auto& row : standings)
        night.push_back(row.entry);
    EXPECT_THAT(Names(night),
                ElementsAre("Lee", "Kim", "Ola", "Ben", "Ned", "Dan", "Ann", "Max", "Hal", "Fay",
                            "Cal", "Eve", "Jo", "Gus", "Ian", "Pia", "Quin", "Rex", "Sam", "Tia"));
    EXPECT_EQ(standings[4].place, 4) << "Ned shares 4th with Ben";
    EXPECT_EQ(standings[11].place, 2) << "Eve was second in the B main";
    EXPECT_EQ(standings[18].place, 0) << "Sam did no lap";
    EXPECT_TRUE(standings[19].noShow);

    // Reopened from its file, the meeting and its standings are the same.
    const auto reopened = OpenMeeting::Open(open->path(), problem);
    ASSERT_TRUE(reopened) << problem;
    EXPECT_EQ(reopened->meeting(), open->meeting());

    const std::string report = StandingsReportText(reopened->meeting());
    EXPECT_THAT(report, HasSubstr("Best 2 of 3 rounds count: laps, then time\r\n"));
    EXPECT_THAT(report, HasSubstr("\r\n7    Hal             50    10:04.300   -               "
                                  "25 5:03.500     25 5:00.800\r\n"));
    EXPECT_THAT(report, HasSubstr("\r\n3    Ola             A     3      31    7:59.900    13, up "
                                  "from B\r\n"));
    EXPECT_THAT(report,
                HasSubstr("\r\n20   Tia             B     DNS    0     0:00.000    20\r\n"));
}

} // namespace
} // namespace kesto
