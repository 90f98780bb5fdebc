#include "config/race_format_confirm.h"

#include "config/race_format_lists.h"
#include "engine/race_state.h"

#include <algorithm>

namespace kesto {

namespace {

template <class List, class Value> int16_t PositionOf(const List& list, Value value) {
    const auto found = std::find(list.begin(), list.end(), value);
    return found == list.end() ? int16_t{-1} : static_cast<int16_t>(found - list.begin());
}

} // namespace

RaceFormatChoices RaceFormatChoicesOf(const RaceState& state) {
    RaceFormatChoices choices;
    choices.NumberOfLapsIndex = PositionOf(LapsList(), state.NumberOfLaps);
    choices.RaceMinutesIndex = PositionOf(MinutesList(), state.RaceMinutes);
    choices.TimedRace = state.TimedRace;
    choices.LapRace = state.LapRace;
    choices.PracticeMode = state.PracticeMode;
    choices.DemoMode = state.DemoMode ? 1 : 0;
    return choices;
}

bool ConfirmRaceFormat(RaceState& state, const RaceFormatChoices& choices,
                       const std::filesystem::path& folder, std::string* error) {
    ApplyRaceFormatChoices(choices, state);
    state.NumberOfLaps = LapsAt(choices.NumberOfLapsIndex).value_or(0);
    state.RaceMinutes = MinutesAt(choices.RaceMinutesIndex).value_or(0);
    return WriteRaceFormat(folder, choices, error);
}

bool ReloadRaceFormat(RaceState& state, const std::filesystem::path& folder) {
    RaceFormatChoices choices = RaceFormatChoicesOf(state);
    if (!ReadRaceFormat(folder, choices))
        return false;
    ApplyRaceFormatChoices(choices, state);
    return true;
}

} // namespace kesto
