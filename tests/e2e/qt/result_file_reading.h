#pragma once
// Reading a race back out of the four result files the timer saves (.lap and
// .sum grid files, the lap and summary text reports), and out of the race
// state, into one shape per car so they can be held against each other and
// against the race the decoder ran.

#include "engine/race_state.h"

#include <optional>
#include <string>
#include <vector>

namespace kesto::e2e {

// One car, as far as a source tells it. Lap sources give the lap times; summary
// sources the lap count, total time and best lap.
struct CarLine {
    int position = 0;
    std::string name;
    std::optional<int> laps;
    std::vector<std::string> lapTimes; // "2.53" for laps 1, 2, ...
    std::string total;                 // "0:13.450"
    std::string best;                  // "2.31"
};

// The cars with laps, in running order. `header` gets the file's first line.
std::vector<CarLine> FromLapGridFile(const std::string& text, std::string* header = nullptr);
std::vector<CarLine> FromSummaryGridFile(const std::string& text, std::string* header = nullptr);
std::vector<CarLine> FromLapTextFile(const std::string& text, std::string* header = nullptr);
std::vector<CarLine> FromSummaryTextFile(const std::string& text, std::string* header = nullptr);
// Everything the state knows, with the best lap left out (its text is the
// reports' rounding, which the files are held against each other for).
std::vector<CarLine> FromRaceState(const RaceState& state);

// Text helpers: hundredths of a second and the summary's total time.
std::string SecondsText(int32_t ms);   // 2530 -> "2.53"
std::string TotalTimeText(int32_t ms); // 65432 -> "1:05.432"

std::string ReadWholeFile(const std::string& path);

} // namespace kesto::e2e
