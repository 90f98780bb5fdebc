#include "expected_race.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace kesto::e2e {

namespace {

constexpr int16_t NotFlagged = 3000;
constexpr int32_t NoBest = 999999;

// The lap race as the timer keeps it, reduced to what decides the result.
struct Race {
    const LapRaceRules& rules;
    std::array<int, Cars> laps{};
    std::array<int32_t, Cars> lastPass{};
    std::array<int, Cars> finishLap{};
    std::array<ExpectedCar, Cars> cars{};
    int32_t clock = 0;
    bool flagged = false;
    bool over = false;
    bool overByTime = false;
    int64_t closeTime = std::numeric_limits<int32_t>::max();

    explicit Race(const LapRaceRules& r) : rules(r) {
        laps.fill(r.firstLapCount);
        finishLap.fill(NotFlagged);
        for (int i = 0; i < Cars; ++i)
            cars[i].id = i + 1;
    }

    // Would a passing of `id` at `ms` be counted as a lap now?
    bool Counts(int id, int64_t ms) const {
        if (id < 1 || id > Cars)
            return false;
        const int i = id - 1;
        if (laps[i] == rules.laps)
            return false; // a lap race stops counting a car at its distance
        return ms - lastPass[i] > rules.minLapMs || laps[i] == rules.firstLapCount;
    }

    void Pass(int id, int64_t ms) {
        if (!Counts(id, ms))
            return;
        const int i = id - 1;
        const auto lap = static_cast<int32_t>(ms - lastPass[i]);
        lastPass[i] = static_cast<int32_t>(ms);
        ++laps[i];
        cars[i].lapMs.push_back(lap);
        cars[i].totalMs = lastPass[i];
        if (lap < cars[i].bestMs && laps[i] > 1)
            cars[i].bestMs = lap;
    }

    std::array<int, Cars> Order() const {
        std::array<int, Cars> order{};
        for (int p = 0; p < Cars; ++p)
            order[p] = p + 1;
        // More laps first; with equal laps the earlier last pass; ties keep ID order.
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            if (laps[a - 1] != laps[b - 1])
                return laps[a - 1] > laps[b - 1];
            return lastPass[a - 1] < lastPass[b - 1];
        });
        return order;
    }

    // The finish check of a tick. Returns what it decided, if anything.
    std::string CheckFinish() {
        std::string decided;
        const std::array<int, Cars> order = Order();
        const int leader = order[0];
        if (!flagged && laps[leader - 1] >= 1 && laps[leader - 1] == rules.laps) {
            for (int p = 1; p < Cars; ++p)
                finishLap[order[p] - 1] = laps[order[p] - 1] + 1;
            finishLap[leader - 1] = laps[leader - 1];
            closeTime = std::llround(clock + 1.5 * cars[leader - 1].bestMs);
            flagged = true;
            decided = "the checkered flag";
        }
        if (flagged && !over) {
            bool all = true;
            for (int i = 0; i < Cars; ++i)
                if (laps[i] != rules.firstLapCount && laps[i] < finishLap[i])
                    all = false;
            if (all || closeTime < clock) {
                over = true;
                overByTime = !all;
                decided = "the close of the race";
            }
        }
        return decided;
    }
};

} // namespace

std::vector<DecoderLine> DecoderStream(const std::vector<sim::Passing>& passings, int64_t tailMs) {
    std::vector<DecoderLine> lines;
    const int64_t end = (passings.empty() ? 0 : passings.back().ms) + tailMs;
    size_t next = 0;
    for (int64_t second = 0; second * 1000 <= end; ++second) {
        for (; next < passings.size() && passings[next].ms < second * 1000; ++next)
            lines.push_back({passings[next].ms, passings[next].id});
        lines.push_back({second * 1000, 0});
    }
    return lines;
}

ExpectedRace PredictLapRace(const std::vector<DecoderLine>& lines, const LapRaceRules& rules,
                            int64_t sameTickMs) {
    Race race(rules);
    ExpectedRace expected;
    for (size_t k = 0; k <= lines.size() && !race.over; ++k) {
        // The finish check runs before the lines of the next tick.
        const std::string decided = race.CheckFinish();
        if (!decided.empty() && k > 0) {
            // A line read in the same tick as the one that decided would come
            // before this check in the timer.
            for (size_t j = k; j < lines.size() && lines[j].ms - lines[k - 1].ms < sameTickMs;
                 ++j) {
                const bool counts = lines[j].id != 0 && race.Counts(lines[j].id, lines[j].ms);
                const bool clockMatters = lines[j].id == 0 && race.overByTime;
                if (counts || clockMatters)
                    expected.uncertain.push_back(
                        decided + " at " + std::to_string(lines[k - 1].ms) + " ms, then line " +
                        std::to_string(lines[j].id) + " at " + std::to_string(lines[j].ms) + " ms");
            }
        }
        if (race.over || k == lines.size())
            break;
        if (lines[k].id == 0)
            race.clock = static_cast<int32_t>(lines[k].ms);
        else
            race.Pass(lines[k].id, lines[k].ms);
    }
    expected.byId = race.cars;
    expected.order = race.Order();
    expected.closed = race.over;
    expected.closedByTime = race.overByTime;
    return expected;
}

std::string LapsAcrossARestart(const std::vector<std::string>& counted,
                               const std::vector<int32_t>& expectedMs, int64_t restartMs,
                               int32_t toleranceMs) {
    if (counted.size() != expectedMs.size())
        return std::to_string(counted.size()) + " laps counted, " +
               std::to_string(expectedMs.size()) + " expected";
    std::string differs;
    int64_t at = 0;
    for (size_t lap = 0; lap < counted.size(); ++lap) {
        const auto got = static_cast<int32_t>(std::lround(std::stod(counted[lap]) * 100.0) * 10);
        const int64_t from = at;
        at += expectedMs[lap];
        const bool across = from < restartMs && restartMs <= at;
        if (across ? std::abs(got - expectedMs[lap]) > toleranceMs : got != expectedMs[lap])
            differs += "lap " + std::to_string(lap + 1) + ": " + counted[lap] + " s, expected " +
                       std::to_string(expectedMs[lap]) + " ms" + (across ? " (across)" : "") + "\n";
    }
    return differs;
}

std::vector<ExpectedCar> ExpectedRace::Finishers() const {
    std::vector<ExpectedCar> cars;
    for (int id : order)
        if (byId[id - 1].Laps() > 0)
            cars.push_back(byId[id - 1]);
    return cars;
}

} // namespace kesto::e2e
