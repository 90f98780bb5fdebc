// The words of every spoken call, numbers as the race screen shows them.
#include "sound/call_phrases.h"

#include "peripheral/help_manual.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kesto {
namespace {

TEST(CallPhrases, LapCallsWithNamesAndTimesAsTheScreenShowsThem) {
    const NumberLocale point;
    NumberLocale comma;
    comma.decimalSeparator = ',';
    comma.groupSeparator = '.';
    EXPECT_EQ(BestLapPhrase("Ann Baker", 3250, point), "New best lap, Ann Baker, 3.25");
    EXPECT_EQ(BestLapPhrase("Ann Baker", 3245, point), "New best lap, Ann Baker, 3.25");
    EXPECT_EQ(BestLapPhrase("Ann Baker", 3250, comma), "New best lap, Ann Baker, 3,25");
    EXPECT_EQ(BestLapPhrase("Bob Smith", 75004, point), "New best lap, Bob Smith, 75.00");
    EXPECT_EQ(LapCountPhrase("Ann Baker", 12), "Ann Baker, lap 12");
    EXPECT_EQ(LeaderLapPhrase("Ann Baker", 1), "Leader, Ann Baker, lap 1");
    EXPECT_EQ(CalledName("  Ann Baker ", 3), "Ann Baker");
    EXPECT_EQ(CalledName("Empty", 5), "car 5");
    EXPECT_EQ(CalledName("", 14), "car 14");
}

TEST(CallPhrases, GridPodiumAndCallUp) {
    const GridRacers grid = {{1, "Ann Baker"}, {4, "Bob Smith"}};
    EXPECT_EQ(RacersPhrase(grid), "Racers: car 1, Ann Baker; car 4, Bob Smith");
    EXPECT_EQ(RacersPhrase({}), "");
    EXPECT_EQ(HeatCallUpPhrase("Heat 3", grid),
              "Next up, Heat 3: car 1, Ann Baker; car 4, Bob Smith");
    EXPECT_EQ(PodiumPhrase({"Ann Baker", "Bob Smith", "Cy Dole", "Di Evans"}),
              "Winner, Ann Baker. Second, Bob Smith. Third, Cy Dole");
    EXPECT_EQ(PodiumPhrase({"Ann Baker"}), "Winner, Ann Baker");
    EXPECT_EQ(PodiumPhrase({}), "");
}

TEST(CallPhrases, TimeLeftInWords) {
    EXPECT_EQ(TimeLeftPhrase(300), "5 minutes left");
    EXPECT_EQ(TimeLeftPhrase(60), "1 minute left");
    EXPECT_EQ(TimeLeftPhrase(10), "10 seconds left");
    EXPECT_EQ(HalfwayTimePhrase(270), "Halfway, 4 minutes 30 seconds left");
    EXPECT_EQ(DurationWords(3725), "1 hour 2 minutes 5 seconds");
    EXPECT_EQ(DurationWords(1), "1 second");
    EXPECT_EQ(DurationWords(0), "0 seconds");
    EXPECT_EQ(HalfwayLapsPhrase(12), "Halfway, 12 laps to go");
    EXPECT_EQ(HalfwayLapsPhrase(1), "Halfway, 1 lap to go");
}

TEST(CallPhrases, TheCallsOfALapAreWordedWhenSaid) {
    RaceState state;
    state.Names.IdName[6] = "Ann Baker";
    Call best{CallKind::BestLap, "", 7, 4125};
    Call laps{CallKind::LapCount, "", 7, 9};
    Call leader{CallKind::LeaderLapCount, "", 2, 10};
    Call podium{CallKind::Podium, "Winner, Ann Baker"};
    EXPECT_EQ(CallWords(best, state), "New best lap, Ann Baker, 4.13");
    EXPECT_EQ(CallWords(laps, state), "Ann Baker, lap 9");
    EXPECT_EQ(CallWords(leader, state), "Leader, car 2, lap 10");
    EXPECT_EQ(CallWords(podium, state), "Winner, Ann Baker");
}

// The manual tells every call as the timer says it, and where it is switched on.
TEST(CallPhrases, TheManualSaysWhatEachCallSays) {
    std::ifstream in(std::filesystem::path(KESTO_SOURCE_DIR) / "assets" / "Kestotimer.HLP",
                     std::ios::binary);
    const HelpManual manual = ParseHelpManual(std::string(std::istreambuf_iterator<char>(in), {}));
    const std::size_t at = FindSection(manual, "spoken-calls");
    ASSERT_LT(at, manual.sections.size());
    std::string told = manual.sections[at].text;
    std::replace(told.begin(), told.end(), '\n', ' ');
    for (const std::string& said :
         {BestLapPhrase("Ann Baker", 3250, NumberLocale{}), LapCountPhrase("Ann Baker", 12),
          LeaderLapPhrase("Ann Baker", 12), PodiumPhrase({"Ann Baker", "Bob Smith", "Cy Dole"}),
          RacersPhrase({{1, "Ann Baker"}, {4, "Bob Smith"}}), TimeLeftPhrase(300),
          TimeLeftPhrase(60), TimeLeftPhrase(10), HalfwayTimePhrase(270), HalfwayLapsPhrase(12),
          CalledName("", 5), std::string("Spoken calls are not available: "),
          std::string("Settings, Sound"), std::string("KestoSpeech.dat")})
        EXPECT_NE(told.find(said), std::string::npos) << said;
}

} // namespace
} // namespace kesto
