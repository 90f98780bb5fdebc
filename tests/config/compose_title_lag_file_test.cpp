// The title composed as the program runs it, with the lag column mode read
// from "KestoRaceLag.dat".
#include "config/data_files.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kesto {
namespace {

RaceState LapRaceState() {
    RaceState state;
    state.LapRace = true;
    state.NumberOfLaps = 10;
    state.Settings.StartDelay = 10;
    state.Settings.MinLapTime = 4;
    return state;
}

using LagFile = test::TempFolderTest;

TEST_F(LagFile, ComposeTitleKeepsTheModeWhenTheFileIsMissing) {
    RaceState state = LapRaceState();
    std::string lagMode = "Lag Behind";
    auto t = ComposeTitleWithLagFile(state, folder, lagMode);
    EXPECT_EQ(lagMode, "Lag Behind");
    EXPECT_EQ(state.LagColumnMode, "Lag Behind");
    EXPECT_EQ(state.RaceFormatText, "10 Lap Race");

    std::ofstream(folder / "kestoracelag.DAT") << "\"Lag First\"\r\n";
    t = ComposeTitleWithLagFile(state, folder, lagMode);
    EXPECT_EQ(t.lagHeader, "Lag First");
    EXPECT_EQ(state.LagColumnMode, "Lag First");

    state.LapRace = false;
    state.PracticeMode = true;
    ComposeTitleWithLagFile(state, folder, lagMode);
    EXPECT_EQ(state.LagColumnMode, "Median");
    EXPECT_EQ(lagMode, "Lag First");
}

} // namespace
} // namespace kesto
