#include "engine/cell_formulas.h"

#include "engine/number_format.h"

namespace kesto {

std::string LapTimeText(const RaceState& state, int id) {
    if (!IsValidId(id))
        return {};
    int32_t ms = state.LastLapTime[id - 1];
    double seconds = ms / 1000.0;
    if (ms < 60000)
        return FormatFixed(seconds, 2, state.Locale);
    return FormatFixed(seconds, 0, state.Locale, 2);
}

std::string BestLapCellText(const RaceState& state, int id) {
    if (!IsValidId(id) || state.BestLapTime[id - 1] == NoBestLap)
        return {};
    return FormatFixed(state.BestLapTime[id - 1] / 1000.0, 2, state.Locale) + " ";
}

std::string MphCellText(const RaceState& state, int id) {
    if (!IsValidId(id) || state.LapCount[id - 1] < 2 || state.LastLapTime[id - 1] == 0)
        return {};
    double speed =
        static_cast<double>(state.SpeedMultiplier) / (state.LastLapTime[id - 1] / 1000.0);
    std::string text = FormatFixed(speed, 1, state.Locale);
    return text.empty() ? text : text + " ";
}

std::string LagBehindCellText(const RaceState& state, int id) {
    if (!IsValidId(id) || state.LapCount[id - 1] < 1)
        return {};
    return state.LagBehind[id - 1];
}

std::string LagFirstCellText(const RaceState& state, int id) {
    if (!IsValidId(id))
        return {};
    return state.LagFirst[id - 1];
}

bool IsWholeSecond(int32_t raceClock) {
    return raceClock % 1000 == 0;
}

bool IsEvenSecond(int32_t raceClock) {
    return raceClock % 2000 == 0;
}

std::optional<std::string> MedianCellText(const RaceState& state, int id) {
    if (!IsValidId(id) || state.LapCount[id - 1] < 1)
        return std::string();
    if (!IsWholeSecond(state.RaceClock))
        return std::nullopt;
    return state.MedianLap[id - 1];
}

std::optional<std::string> BestColumnCellText(const RaceState& state, int id) {
    if (state.BestColumnMode == BestLapMode)
        return BestLapCellText(state, id);
    if (state.BestColumnMode == MphMode)
        return MphCellText(state, id);
    if (state.BestColumnMode == MedianMode)
        return MedianCellText(state, id);
    return std::nullopt;
}

std::optional<std::string> LagColumnCellText(const RaceState& state, int id) {
    if (state.LagColumnMode == LagBehindMode)
        return LagBehindCellText(state, id);
    if (state.LagColumnMode == LagFirstMode)
        return LagFirstCellText(state, id);
    if (state.LagColumnMode == MedianMode)
        return MedianCellText(state, id);
    return std::nullopt;
}

std::string PracticeBestCellText(const RaceState& state, int id) {
    if (state.BestColumnMode == BestLapMode)
        return BestLapCellText(state, id);
    return MphCellText(state, id);
}

} // namespace kesto
