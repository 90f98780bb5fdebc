// The live board's JSON: the race screen's rows in running order with the
// panel the screen shows (seen through an ObservedRaceScreen in front of the
// race screen), and the driver's numbers.
#include "engine/positions.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/fake_race_screen.h"
#include "support/race_rig.h"
#include "support/scripted_start_sequence.h"
#include "web/board_document.h"
#include "web/observed_race_screen.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <vector>

namespace kesto {
namespace {

using nlohmann::json;
using test::DecoderClockLine;
using test::DecoderPassLine;

// Race control and the tick drive the fake race screen through the observer.
class Board : public ::testing::Test {
protected:
    Board() {
        for (int id = 1; id <= MaxCarIds; ++id) {
            state.Names.IdName[id - 1] = "Racer " + std::to_string(id); // a start needs them all
            state.Settings.IdColor[id - 1] = id == 1 ? 0x0000FF : 0xFFFFFF; // car 1 red
        }
        observed.SetObserver(
            [this](ObservedRaceScreen::Change change) { changes.push_back(change); });
        screen.onRaceTimer = [this](bool running) {
            if (!running)
                tick.RaceTimerStopped();
        };
        race.port.open = true;
        state.Settings.MinLapTime = 4;
        state.LapRace = true;
        state.NumberOfLaps = 5;
        state.RaceFormatText = "5 Lap Race";
    }

    // 10 ms ticks with the decoder's clock every second and the planned passes.
    void Run(int32_t untilMs) {
        while (state.TimerEnabled && decoderMs < untilMs) {
            decoderMs += 10;
            std::string sent = decoderMs % 1000 == 0 ? DecoderClockLine(decoderMs) : "";
            for (auto it = plan.begin(); it != plan.end() && it->first <= decoderMs;)
                sent += DecoderPassLine(it->second, it->first), it = plan.erase(it);
            race.port.Feed(sent);
            tick.Timer1_Timer(10);
        }
    }

    json Document() { return json::parse(document.Build(state, observed.Shown())); }

    test::TestRace race;
    RaceState& state = race.state;
    test::FakeRaceScreen screen{state};
    ObservedRaceScreen observed{screen, state};
    test::ScriptedStartSequenceLauncher launcher{race.context};
    RaceControl control{race.context, observed, launcher, screen};
    RaceTick tick{race.context, control, observed};
    BoardDocument document;
    std::vector<ObservedRaceScreen::Change> changes;
    std::multimap<int32_t, int> plan; // decoder ms -> car
    int32_t decoderMs = 0;
};

TEST_F(Board, RowsInRunningOrderInTheCarsColoursWithThePanelTheScreenShows) {
    for (int lap = 1; lap <= 5; ++lap) {
        plan.emplace(5000 * lap, 2); // car 2 leads
        plan.emplace(5600 * lap, 1);
    }
    control.ReSet();
    control.cmdStart_Click();
    Run(11500);
    state.Names.IdName[3].clear();   // ID 4 unused
    state.Names.IdName[4] = "Empty"; // ID 5 given the name list's "Empty"

    json board = Document();
    EXPECT_EQ(board["format"], "5 Lap Race");
    EXPECT_EQ(board["mode"], "laps");
    EXPECT_EQ(board["clock"], screen.clockText);
    EXPECT_EQ(board["flag"], "green");
    EXPECT_EQ(board["raceOver"], false);
    EXPECT_EQ(board["running"], true);
    ASSERT_EQ(board["cars"].size(), 14u);
    const json& leader = board["cars"][0];
    EXPECT_EQ(leader["id"], 2);
    EXPECT_EQ(leader["name"], "Racer 2");
    EXPECT_EQ(leader["laps"], "2");
    EXPECT_EQ(leader["last"], "5.00");
    EXPECT_EQ(leader["best"], "5.00");
    EXPECT_EQ(leader["gap"], "0.00");
    const json& second = board["cars"][1];
    EXPECT_EQ(second["id"], 1);
    EXPECT_EQ(second["color"], "#ff0000");
    EXPECT_EQ(second["ink"], "#ffffff");
    EXPECT_EQ(second["gap"], "1.20");
    EXPECT_EQ(second["position"], 2);
    EXPECT_EQ(board["cars"][2]["id"], 3); // no lap yet, named
    EXPECT_EQ(board["cars"][2]["active"], true);
    EXPECT_EQ(board["cars"][3]["active"], false); // no name, no lap
    EXPECT_EQ(board["cars"][4]["id"], 5);         // named "Empty", no lap
    EXPECT_EQ(board["cars"][4]["active"], false);
    EXPECT_EQ(board["cars"][3]["ink"], "#000000");

    // Passes, white and checkered flags, the close: each told to the observer.
    Run(40000);
    board = Document();
    EXPECT_TRUE(state.RaceIsOver);
    EXPECT_EQ(board["flag"], "checkered");
    EXPECT_EQ(board["raceOver"], true);
    EXPECT_EQ(board["running"], false);
    EXPECT_NE(std::find(changes.begin(), changes.end(), ObservedRaceScreen::Change::RaceOver),
              changes.end());
    EXPECT_TRUE(screen.raceOverVisible); // the real screen was told too

    observed.ShowLinkAlarm("NO SIGNAL");
    EXPECT_EQ(Document()["alarm"], "NO SIGNAL");
    observed.HideLinkAlarm();
    EXPECT_EQ(Document()["alarm"], "");
}

TEST_F(Board, TheClockChangesTheBoardOnlyWhenItsTextChanges) {
    control.ReSet();
    changes.clear();
    observed.SetClockText(screen.clockText);
    EXPECT_TRUE(changes.empty());
    observed.SetClockText("0:01");
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(Document()["clock"], "0:01");
}

TEST_F(Board, TheDriversNumbersAreItsLatestLapsBestAndTheEnginesMedian) {
    const std::vector<float> laps = {5.2f, 4.9f, 7.5f, 5.0f, 5.1f, 6.0f, 4.95f};
    state.LapCount[4] = static_cast<int16_t>(laps.size());
    state.LastPassTime[4] = 40000;
    state.BestLapTime[4] = 4900;
    for (size_t lap = 0; lap < laps.size(); ++lap)
        state.LapTimes[4][lap + 1] = state.SortedLapTimes[4][lap + 1] = laps[lap];

    const json car = Document()["cars"][4];
    ASSERT_EQ(car["recent"].size(), static_cast<size_t>(DriverLaps));
    EXPECT_EQ(car["recent"][0], json({{"lap", 7}, {"time", "4.95"}}));
    EXPECT_EQ(car["recent"][4], json({{"lap", 3}, {"time", "7.50"}}));
    EXPECT_EQ(car["best"], "4.90");
    subSortLapTimes(state);
    EXPECT_EQ(car["median"], state.MedianLap[4]);

    // Another lap: the cached median follows.
    state.LapCount[4] = 8;
    state.LapTimes[4][8] = state.SortedLapTimes[4][8] = 9.0f;
    state.LastPassTime[4] = 49000;
    subSortLapTimes(state);
    EXPECT_EQ(Document()["cars"][4]["median"], state.MedianLap[4]);
}

TEST_F(Board, PracticeKeepsIdOrderAndCarsNotSeenSinceTheResetShowNoLaps) {
    state.PracticeMode = true;
    state.LapRace = false;
    state.Settings.FirstLapCount = 0;
    state.LapCount.fill(0);
    state.LapCount[6] = 2;
    state.LastLapTime[6] = 61234;
    state.RacePosition.fill(1);

    const json board = Document();
    EXPECT_EQ(board["mode"], "practice");
    EXPECT_EQ(board["columns"]["lag"], "Median");
    for (int row = 0; row < MaxCarIds; ++row)
        EXPECT_EQ(board["cars"][row]["id"], row + 1);
    EXPECT_EQ(board["cars"][0]["laps"], "");
    EXPECT_EQ(board["cars"][6]["laps"], "2");
    EXPECT_EQ(board["cars"][6]["last"], "61");
}

TEST(BoardColours, WindowsColourValuesAndFlagPictures) {
    EXPECT_EQ(CssColor(0x00C08040), "#4080c0");
    EXPECT_EQ(CssInkOn(0x00FFFF00), "#000000"); // cyan
    EXPECT_EQ(CssInkOn(0x00800000), "#ffffff"); // navy
    EXPECT_EQ(FlagName("GreenFlagblack.bmp"), "green");
    EXPECT_EQ(FlagName("whiteflagblack.bmp"), "white");
    EXPECT_EQ(FlagName("CheckeredFlagblack.bmp"), "checkered");
    EXPECT_EQ(FlagName(""), "");
}

} // namespace
} // namespace kesto
