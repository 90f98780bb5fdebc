#pragma once
// The words of each spoken call, numbers written as the race screen shows
// them (a lap time with two decimals in the user's decimal separator), so
// what the racers hear matches what the screen shows.

#include "engine/race_state.h"
#include "sound/call_queue.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kesto {

using GridRacers = std::vector<std::pair<int, std::string>>; // ID and name

// The racer's name as called: trimmed; "car 5" without a name or for "Empty".
std::string CalledName(std::string_view name, int id);

// "New best lap, Ann Baker, 3.25"
std::string BestLapPhrase(std::string_view name, int32_t lapMs, const NumberLocale& locale);
// "Ann Baker, lap 12"
std::string LapCountPhrase(std::string_view name, int laps);
// "Leader, Ann Baker, lap 12"
std::string LeaderLapPhrase(std::string_view name, int laps);
// "Winner, Ann Baker. Second, Bob Smith. Third, Cy Dole": the first three
// names given; empty without any.
std::string PodiumPhrase(const std::vector<std::string>& finishingOrder);
// "Racers: car 1, Ann Baker; car 4, Bob Smith"; empty without racers.
std::string RacersPhrase(const GridRacers& racers);
// "Next up, Heat 3: car 1, Ann Baker; car 4, Bob Smith"
std::string HeatCallUpPhrase(std::string_view heat, const GridRacers& racers);
// "1 hour 2 minutes", "4 minutes 30 seconds", "1 minute", "10 seconds"
std::string DurationWords(int seconds);
// "5 minutes left"
std::string TimeLeftPhrase(int seconds);
// "Halfway, 4 minutes 30 seconds left"
std::string HalfwayTimePhrase(int secondsLeft);
// "Halfway, 12 laps to go", "Halfway, 1 lap to go"
std::string HalfwayLapsPhrase(int lapsToGo);

// The words of `call`: its text, or for the calls of a lap the phrase made
// from the car's name as it is now.
std::string CallWords(const Call& call, const RaceState& state);

} // namespace kesto
