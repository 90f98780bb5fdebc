#include "tools/decoder-sim/passing_plan.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kesto::sim {

std::vector<Passing> PlanRace(const CarPlan& plan) {
    std::mt19937 random(plan.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::mt19937 bounceRandom(plan.seed + 13);
    std::vector<Passing> passings;
    int cars = std::clamp(plan.cars, 1, 14);
    for (int id = 1; id <= cars; ++id) {
        double lap = plan.lapSeconds + plan.carStepSeconds * (id - 1);
        double t = 0.2 + 0.8 * unit(random) * lap * 0.25; // the first passing: leaving the grid
        for (int n = 0;; ++n) {
            if (plan.laps > 0 && n > plan.laps)
                break;
            if (plan.durationSeconds > 0 && t > plan.durationSeconds)
                break;
            if (plan.laps <= 0 && plan.durationSeconds <= 0)
                break;
            const int64_t ms = static_cast<int64_t>(std::llround(t * 100)) * 10;
            passings.push_back({ms, id});
            if (plan.bouncePercent > 0 && unit(bounceRandom) * 100 < plan.bouncePercent) {
                const auto after = static_cast<int64_t>(std::llround(5 + unit(bounceRandom) * 25));
                passings.push_back({ms + after * 10, id});
            }
            double next = lap + plan.spreadSeconds * unit(random);
            if (unit(random) * 100 < plan.crashPercent)
                next += plan.crashSeconds;
            t += next;
        }
    }
    std::stable_sort(passings.begin(), passings.end(),
                     [](const Passing& a, const Passing& b) { return a.ms < b.ms; });
    return passings;
}

std::vector<Passing> ReadScript(std::istream& in, std::string* error) {
    std::vector<Passing> passings;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream fields(line);
        double seconds = 0;
        int id = 0;
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue; // blank line
        if (!(fields >> seconds) || !(fields >> id) || seconds < 0 || id < 0 || id > 99) {
            if (error)
                *error += "line " + std::to_string(number) + " does not read as 'seconds id'\n";
            continue;
        }
        passings.push_back({static_cast<int64_t>(std::llround(seconds * 100)) * 10, id});
    }
    std::stable_sort(passings.begin(), passings.end(),
                     [](const Passing& a, const Passing& b) { return a.ms < b.ms; });
    return passings;
}

} // namespace kesto::sim
