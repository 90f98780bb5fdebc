// A race comes out the same however its decoder lines are batched into race
// timer ticks: one race's stream fed a line a tick, then in bursts of every
// size up to the whole stream in one tick (as after a stall, or a resume's
// backlog). The four result files are the same, byte for byte.
#include "reports/result_book.h"
#include "support/race_rig.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kesto {
namespace {

using test::DecoderClockLine;
using test::DecoderPassLine;

struct Line {
    int32_t ms;
    std::string text;
};

// A 10-lap race of four cars with the decoder's clock line every second. Car 4,
// a lap down, crosses the line 40 ms after the leader's tenth lap: with the
// flag out it has finished on 9 laps.
std::vector<Line> Stream() {
    std::vector<Line> lines;
    const int32_t first[] = {1000, 1200, 1400, 1600};
    const int32_t lap[] = {3000, 3050, 3100, 3305};
    for (int car = 0; car < 4; ++car)
        for (int k = 0; k < 12; ++k) {
            const int32_t at = (first[car] + k * lap[car] + 5) / 10 * 10;
            lines.push_back({at, DecoderPassLine(car + 1, at)});
        }
    for (int32_t second = 1000; second <= 40000; second += 1000)
        lines.push_back({second, DecoderClockLine(second)});
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.ms < b.ms; });
    return lines;
}

struct Results {
    std::string lapGrid, lapText, summaryGrid, summaryText;
    int lapsOfCar4 = 0;
};

class LineBatching : public test::TempFolderTest {
protected:
    // The race fed `burst` lines a tick; each tick as long as the decoder's
    // clock ran since the last one.
    Results Race(const std::vector<Line>& stream, size_t burst) {
        test::RaceRig rig;
        RaceState& state = rig.state;
        rig.NameAllCars();
        state.LapRace = true;
        state.NumberOfLaps = 10;
        state.Settings.MinLapTime = 2;
        state.Settings.StartDelay = 0;
        rig.control.ReSet();
        rig.control.cmdStart_Click();
        int32_t fedUntil = 0;
        for (size_t i = 0; i < stream.size() && state.TimerEnabled; i += burst) {
            std::string bytes;
            const size_t end = std::min(stream.size(), i + burst);
            for (size_t j = i; j < end; ++j)
                bytes += stream[j].text;
            rig.race.port.Feed(bytes);
            rig.Tick(std::max(10, stream[end - 1].ms - fedUntil));
            fedUntil = std::max(fedUntil, stream[end - 1].ms);
        }
        for (int tick = 0; tick < 100 && state.TimerEnabled; ++tick)
            rig.Tick(10); // what the port still holds
        EXPECT_TRUE(state.RaceIsOver) << "bursts of " << burst;

        ResultBook book;
        EXPECT_FALSE(book.FillSummary(state));
        EXPECT_FALSE(book.FillLapTimes(state).message);
        const std::string names[] = {"race.lap", "laps.txt", "race.sum", "summary.txt"};
        for (const std::string& name : names)
            rig.race.dialogs.files.push_back((folder / name).string());
        EXPECT_TRUE(book.SaveLaps(rig.race.context, folder.string()));
        EXPECT_TRUE(book.SaveLaps(rig.race.context, folder.string()));
        EXPECT_TRUE(book.SaveSummary(rig.race.context, folder.string()));
        EXPECT_TRUE(book.SaveSummary(rig.race.context, folder.string()));
        return {ReadBytes(folder / "race.lap"), ReadBytes(folder / "laps.txt"),
                ReadBytes(folder / "race.sum"), ReadBytes(folder / "summary.txt"),
                state.LapCount[3]};
    }
};

TEST_F(LineBatching, TheResultIsTheSameHoweverTheLinesAreBatchedIntoTicks) {
    const std::vector<Line> stream = Stream();
    const Results oneByOne = Race(stream, 1);
    ASSERT_EQ(oneByOne.lapsOfCar4, 9);
    ASSERT_FALSE(oneByOne.summaryGrid.empty());
    for (size_t burst = 2; burst <= stream.size(); ++burst) {
        SCOPED_TRACE("bursts of " + std::to_string(burst) + " lines");
        const Results batched = Race(stream, burst);
        EXPECT_EQ(batched.lapsOfCar4, 9);
        EXPECT_EQ(batched.lapGrid, oneByOne.lapGrid);
        EXPECT_EQ(batched.lapText, oneByOne.lapText);
        EXPECT_EQ(batched.summaryGrid, oneByOne.summaryGrid);
        EXPECT_EQ(batched.summaryText, oneByOne.summaryText);
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace kesto
