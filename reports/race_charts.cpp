#include "reports/race_charts.h"

#include "reports/lap_times_report.h"
#include "reports/summary_report.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace kesto {
namespace {

constexpr int FirstLapRow = 2;

int64_t Hundredths(float seconds) {
    return std::llround(static_cast<double>(seconds) * 100.0);
}

// The lap a best lap can come from: lap counting takes a best lap only from
// the lap that brings the count to 2 or more, and only below NoBestLap.
int BestLapOf(const std::vector<ChartLap>& laps) {
    int best = -1;
    int64_t bestHundredths = std::numeric_limits<int64_t>::max();
    for (const ChartLap& lap : laps) {
        const int64_t h = Hundredths(lap.seconds);
        if (lap.lap >= 2 && h * 10 < NoBestLap && h < bestHundredths) {
            best = lap.lap;
            bestHundredths = h;
        }
    }
    return best;
}

void MarkCrashes(std::vector<ChartLap>& laps, int32_t bestLapMs) {
    const float threshold = CrashThreshold(bestLapMs);
    for (ChartLap& lap : laps)
        lap.crash = lap.lap >= 1 && IsCrashLap(lap.seconds, threshold);
}

// Positions from the lap times: after lap n the cars that completed it rank
// by the sum of their lap times up to n (their pass time at lap n), earliest
// first. A car that had not completed lap n by then ranks behind all of
// them, as the running order puts the car with more laps first. Equal pass
// times keep the order of `cars` (ID order), as the running order keeps the
// lower ID first on a complete tie. Then the cars take their finishing order:
// more laps first, then the earlier last pass, then the same tie rule.
void RankCars(std::vector<CarChart>& cars) {
    struct Pass {
        int lap;
        int64_t at; // hundredths since the start
        std::size_t car;
    };
    std::vector<Pass> passes;
    std::vector<int64_t> finish(cars.size(), 0);
    for (std::size_t car = 0; car < cars.size(); ++car) {
        int64_t at = 0;
        for (const ChartLap& lap : cars[car].laps) {
            at += Hundredths(lap.seconds);
            passes.push_back({lap.lap, at, car});
        }
        finish[car] = at;
        cars[car].positions.clear();
        cars[car].positions.reserve(cars[car].laps.size());
    }
    std::sort(passes.begin(), passes.end(), [](const Pass& a, const Pass& b) {
        return std::tie(a.lap, a.at, a.car) < std::tie(b.lap, b.at, b.car);
    });
    int position = 0;
    for (std::size_t i = 0; i < passes.size(); ++i) {
        position = i > 0 && passes[i - 1].lap == passes[i].lap ? position + 1 : 1;
        cars[passes[i].car].positions.push_back({passes[i].lap, position});
    }

    std::vector<std::size_t> order(cars.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (cars[a].laps.size() != cars[b].laps.size())
            return cars[a].laps.size() > cars[b].laps.size();
        return finish[a] < finish[b];
    });
    std::vector<CarChart> sorted;
    sorted.reserve(cars.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(cars[i]));
    cars = std::move(sorted);
}

int ParseLapLabel(const std::string& text) {
    if (text == LapLabel(0))
        return 0;
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(text);
}

} // namespace

int RaceCharts::LastLap() const {
    int last = 0;
    for (const CarChart& car : cars)
        if (!car.laps.empty())
            last = std::max(last, car.laps.back().lap);
    return last;
}

int RaceCharts::MaxPosition() const {
    int most = 0;
    for (const CarChart& car : cars)
        for (const ChartPosition& p : car.positions)
            most = std::max(most, p.position);
    return most;
}

RaceCharts ChartsOfRace(const RaceState& state) {
    RaceCharts charts;
    charts.caption = state.RaceFormatText;
    const int firstLap = std::max(state.Settings.FirstLapCount + 1, 0);
    for (int id = 1; id <= MaxCarIds; ++id) {
        const int laps = state.LapCount[id - 1];
        if (laps <= 0)
            continue; // no lap yet, as the summary and the lap table count
        CarChart car;
        car.id = id;
        car.name = state.IdName(id);
        car.color = state.Settings.IdColor[id - 1];
        const int last = std::min(laps, MaxLapNumber);
        for (int lap = firstLap; lap <= last; ++lap)
            car.laps.push_back({lap, state.LapTimes[id - 1][lap], false});
        MarkCrashes(car.laps, state.BestLapTime[id - 1]);
        car.bestLap = state.BestLapTime[id - 1] == NoBestLap ? -1 : BestLapOf(car.laps);
        charts.cars.push_back(std::move(car));
    }
    RankCars(charts.cars);
    return charts;
}

RaceCharts ChartsOfLapGrid(const ReportGrid& grid, const PerId<int32_t>& idColors,
                           std::string caption) {
    RaceCharts charts;
    charts.caption = std::move(caption);
    std::vector<int> rowLaps; // lap number of each row from FirstLapRow; -1: no lap row
    for (int row = FirstLapRow; row < grid.Rows(); ++row)
        rowLaps.push_back(ParseLapLabel(grid.Text(row, 0)));

    std::vector<std::pair<int, CarChart>> columns; // tie key, car
    for (int col = 1; col < grid.Cols(); ++col) {
        CarChart car;
        const std::string& header = grid.Text(0, col);
        const int id = ParseLapLabel(header);
        car.id = header != LapLabel(0) && IsValidId(id) ? id : 0;
        car.name = grid.Text(1, col);
        car.color = idColors[static_cast<std::size_t>(car.id > 0 ? car.id - 1 : (col - 1))];
        std::size_t filled = 0;
        for (std::size_t i = 0; i < rowLaps.size(); ++i) {
            if (rowLaps[i] < 0)
                continue;
            int64_t hundredths = 0;
            const bool isLap =
                ParseLapHundredths(grid.Text(FirstLapRow + static_cast<int>(i), col), hundredths);
            // An empty cell is a lap shown as 0.00 when a later cell is filled.
            car.laps.push_back(
                {rowLaps[i], isLap ? static_cast<float>(hundredths / 100.0) : 0.0f, false});
            if (isLap)
                filled = car.laps.size();
        }
        car.laps.resize(filled);
        if (car.laps.empty())
            continue;
        car.bestLap = BestLapOf(car.laps);
        int32_t bestMs = NoBestLap;
        for (const ChartLap& lap : car.laps)
            if (lap.lap == car.bestLap)
                bestMs = static_cast<int32_t>(Hundredths(lap.seconds) * 10);
        MarkCrashes(car.laps, bestMs);
        // Ties go by ID; columns that name no ID after them, in column order.
        columns.emplace_back(car.id > 0 ? car.id : MaxCarIds + col, std::move(car));
    }
    std::stable_sort(columns.begin(), columns.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& column : columns)
        charts.cars.push_back(std::move(column.second));
    RankCars(charts.cars);
    return charts;
}

bool ParseLapHundredths(const std::string& text, int64_t& hundredths) {
    const std::size_t size = text.size();
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (size < 4 || !digit(text[size - 1]) || !digit(text[size - 2]) ||
        (text[size - 3] != '.' && text[size - 3] != ','))
        return false;
    std::size_t at = 0;
    const bool negative = text[0] == '-';
    if (negative)
        ++at;
    if (at >= size - 3 || !digit(text[at]))
        return false;
    int64_t value = 0;
    for (; at < size; ++at) {
        const char c = text[at];
        if (digit(c)) {
            if (value > std::numeric_limits<int64_t>::max() / 100)
                return false;
            value = value * 10 + (c - '0');
        } else if (at != size - 3 && c != ',' && c != '.' && c != ' ' && c != '\'') {
            return false;
        }
    }
    hundredths = negative ? -value : value;
    return true;
}

RaceChartsStamp StampOf(const RaceState& state) {
    RaceChartsStamp stamp;
    stamp.lapCount = state.LapCount;
    stamp.lastPassTime = state.LastPassTime;
    stamp.bestLapTime = state.BestLapTime;
    stamp.color = state.Settings.IdColor;
    stamp.name = state.Names.IdName;
    stamp.firstLapCount = state.Settings.FirstLapCount;
    stamp.caption = state.RaceFormatText;
    return stamp;
}

} // namespace kesto
