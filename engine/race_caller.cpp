#include "engine/race_caller.h"

namespace kesto {

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

RaceCaller& NoRaceCaller() {
    static RaceCaller silent;
    return silent;
}

bool LeadsAfterLap(const RaceState& state, int id) {
    if (!IsValidId(id))
        return false;
    const int laps = state.LapCount[id - 1];
    for (int other = 1; other <= MaxCarIds; ++other)
        if (other != id && state.LapCount[other - 1] >= laps)
            return false;
    return true;
}

std::vector<int> CarsInRunningOrder(const RaceState& state) {
    std::vector<int> cars;
    for (int id : state.RaceOrder)
        if (IsValidId(id) && state.LapCount[id - 1] != state.Settings.FirstLapCount)
            cars.push_back(id);
    return cars;
}

std::vector<std::pair<int, std::string>> RacersOnTheGrid(const PerId<std::string>& names) {
    std::vector<std::pair<int, std::string>> racers;
    for (int id = 1; id <= MaxCarIds; ++id) {
        const std::string_view name = Trimmed(names[id - 1]);
        if (!name.empty() && name != "Empty")
            racers.emplace_back(id, std::string(name));
    }
    return racers;
}

} // namespace kesto
