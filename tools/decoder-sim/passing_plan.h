#pragma once
// Which car passes the sensor when: generated from lap times with a random
// spread and crashes, or read from a script of "seconds id" lines.

#include <cstdint>
#include <istream>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace kesto::sim {

struct Passing {
    int64_t ms; // decoder time since timing began
    int id;
    bool operator==(const Passing&) const = default;
};

struct CarPlan {
    int cars = 14;                // IDs 1..cars
    double lapSeconds = 5.0;      // shortest lap of the fastest car
    double carStepSeconds = 0.15; // each further ID is this much slower
    double spreadSeconds = 0.5;   // random extra per lap
    double crashPercent = 5;      // chance per lap of a crash
    double crashSeconds = 3.0;    // time a crash costs
    int laps = 10;                // passings per car after the first (0: until duration ends)
    double durationSeconds = 0;   // stop passings after this (0: no limit)
    double bouncePercent = 0;     // chance per passing that the sensor reads the car twice
    uint32_t seed = 1;
};

// Passings of every car, in time order. The first passing of each car comes
// within its first lap (a car starts behind the sensor). A bounce, a second
// read of the same car 0.05 to 0.3 s after a passing, is one more passing of
// that car, which the timer must drop by its minimum lap time. Bounces are
// drawn from a random stream of their own, so a plan keeps its laps whatever
// the bounce chance.
std::vector<Passing> PlanRace(const CarPlan& plan);

// "12.34 5" per line: seconds since timing began and car ID; '#' starts a
// comment. Lines that do not read are reported in `error` and skipped.
std::vector<Passing> ReadScript(std::istream& in, std::string* error = nullptr);

} // namespace kesto::sim
