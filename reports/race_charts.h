#pragma once
// What the two pictures of a race show, without drawing them: per car its lap
// times in lap order (the lap-time chart, with the laps the summary counts as
// crashes and the car's best lap marked) and its position after each lap (the
// lap chart, leader at the top). Built from the race state or from the lap
// grid of an opened .lap file; the windows, the printed page and the SVG of
// the live board all draw from this.

#include "engine/race_state.h"
#include "reports/report_grid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kesto {

struct ChartLap {
    int lap = 0;       // lap number; 0 is the start-to-first-pass time ("RT")
    float seconds = 0; // as the lap tables hold it, hundredths
    bool crash = false;
    bool operator==(const ChartLap&) const = default;
};

struct ChartPosition {
    int lap = 0;
    int position = 0; // 1 is the leader
    bool operator==(const ChartPosition&) const = default;
};

struct CarChart {
    int id = 0;                           // 1..14; 0 for a file's column whose header names no ID
    std::string name;                     // IdName
    int32_t color = 0;                    // IdColor, a Windows colour value (red in the low byte)
    std::vector<ChartLap> laps;           // every stored lap, in lap order
    int bestLap = -1;                     // lap number of the best lap; -1 without one
    std::vector<ChartPosition> positions; // after each lap of `laps`
    bool operator==(const CarChart&) const = default;
};

struct RaceCharts {
    std::string caption;        // the race's format text, or the opened file's name
    std::vector<CarChart> cars; // cars with at least one lap, in finishing order
    // The highest lap number and the largest field any lap had, for the axes.
    int LastLap() const;
    int MaxPosition() const;
};

// The race as the state holds it: the cars with laps (LapCount above 0, as
// the reports count them), their stored lap columns from the first lap on (the
// tables end at lap 3000), crashes as the summary counts them against the
// car's BestLapTime, names and colours.
RaceCharts ChartsOfRace(const RaceState& state);

// An opened .lap file, from the lap grid it was read into: column c's header
// gives the ID (its colour comes from `idColors`), row 1 the name, column 0
// the lap numbers ("RT" is lap 0). A car's laps run to its last filled cell;
// the best lap and the crashes follow the same rules from its lap times.
RaceCharts ChartsOfLapGrid(const ReportGrid& grid, const PerId<int32_t>& idColors,
                           std::string caption);

// A lap cell's text as hundredths of a second, whatever separators the saving
// machine used ("1,234.50" and "1.234,50" are both 123450); false for a
// cell that is not a lap time.
bool ParseLapHundredths(const std::string& text, int64_t& hundredths);

// What a chart window compares once a second to know whether the race moved.
struct RaceChartsStamp {
    PerId<int16_t> lapCount{};
    PerId<int32_t> lastPassTime{};
    PerId<int32_t> bestLapTime{};
    PerId<int32_t> color{};
    PerId<std::string> name;
    int16_t firstLapCount = 0;
    std::string caption;
    bool operator==(const RaceChartsStamp&) const = default;
};
RaceChartsStamp StampOf(const RaceState& state);

} // namespace kesto
