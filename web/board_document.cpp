#include "web/board_document.h"

#include "engine/cell_formulas.h"
#include "engine/clock_format.h"
#include "engine/number_format.h"
#include "engine/positions.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kesto {

namespace {

using nlohmann::json;

// An ID nobody races: no name, or the name lists' last entry "Empty".
bool IsNamed(const std::string& name) {
    return !name.empty() && name != "Empty";
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int Red(int32_t c) {
    return c & 0xFF;
}
int Green(int32_t c) {
    return (c >> 8) & 0xFF;
}
int Blue(int32_t c) {
    return (c >> 16) & 0xFF;
}

// The rows top to bottom: by position in a race (as the race screen places
// them), by ID in practice; IDs without a position fill the rows left over.
std::array<int, MaxCarIds> RowOrder(const RaceState& state) {
    std::array<int, MaxCarIds> order{};
    if (!state.PracticeMode) {
        for (int id = 1; id <= MaxCarIds; ++id) {
            const int row = state.RacePosition[id - 1];
            if (IsValidId(row) && order[row - 1] == 0)
                order[row - 1] = id;
        }
    }
    int next = 1;
    for (int& id : order) {
        if (id != 0)
            continue;
        while (std::find(order.begin(), order.end(), next) != order.end())
            ++next;
        id = next++;
    }
    return order;
}

std::string LapText(float seconds, const NumberLocale& locale) {
    return FormatFixed(seconds, 2, locale);
}

// The operator's lag column as the board shows it (the median whenever the
// race state holds one, not only on whole seconds).
std::string LagColumnText(const RaceState& state, int id, const std::string& median) {
    const std::string& mode = state.LagColumnMode;
    if (state.PracticeMode || mode == MedianMode)
        return state.LapCount[id - 1] < 1 ? std::string() : median;
    if (mode == LagFirstMode)
        return LagFirstCellText(state, id);
    return LagBehindCellText(state, id);
}

std::string BestColumnText(const RaceState& state, int id, const std::string& median) {
    const std::string& mode = state.BestColumnMode;
    if (state.PracticeMode)
        return Trimmed(PracticeBestCellText(state, id));
    if (mode == MphMode)
        return Trimmed(MphCellText(state, id));
    if (mode == MedianMode)
        return state.LapCount[id - 1] < 1 ? std::string() : median;
    return Trimmed(BestLapCellText(state, id));
}

json MeetingJson(const StandingsBoard& meeting) {
    json next = nullptr;
    if (meeting.nextHeat) {
        json racers = json::array();
        for (const CalledRacer& racer : meeting.nextHeat->racers)
            racers.push_back({{"id", racer.id}, {"name", racer.name}});
        next = {{"name", meeting.nextHeat->name}, {"racers", std::move(racers)}};
    }
    return {
        {"title", meeting.title}, {"standings", StandingsAddress}, {"nextHeat", std::move(next)}};
}

} // namespace

std::string FlagName(const std::string& bitmapFile) {
    std::string lower = bitmapFile;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.rfind("green", 0) == 0)
        return "green";
    if (lower.rfind("white", 0) == 0)
        return "white";
    if (lower.rfind("checkered", 0) == 0)
        return "checkered";
    return {};
}

std::string CssColor(int32_t windowsColor) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", Red(windowsColor), Green(windowsColor),
                  Blue(windowsColor));
    return text;
}

std::string CssInkOn(int32_t windowsColor) {
    const int luminance =
        (299 * Red(windowsColor) + 587 * Green(windowsColor) + 114 * Blue(windowsColor)) / 1000;
    return luminance < 128 ? "#ffffff" : "#000000";
}

const std::string& BoardDocument::MedianOf(const RaceState& state, int id) {
    const int laps = std::clamp<int>(state.LapCount[id - 1], 0, MaxLapNumber);
    // The lap count and the last pass together: a new race reaching the same
    // count passes through other counts first, and this runs on every refresh.
    const int key = laps * 0x10000 + (state.LastPassTime[id - 1] & 0xFFFF);
    if (m_medianLaps[id - 1] == key)
        return m_median[id - 1];
    m_medianLaps[id - 1] = key;
    m_median[id - 1].clear();
    if (laps >= 1) {
        const LapRow& row = state.LapTimes[static_cast<size_t>(id - 1)];
        std::vector<float> sorted(row.begin() + 1, row.begin() + 1 + laps);
        const size_t k = static_cast<size_t>(std::min(MedianColumn(laps), laps) - 1);
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(k),
                         sorted.end());
        m_median[id - 1] = FormatNumberGrouped(sorted[k], 2, state.Locale);
    }
    return m_median[id - 1];
}

std::string BoardDocument::Build(const RaceState& state, const ScreenShown& screen,
                                 const StandingsBoard* meeting) {
    json board;
    board["format"] = state.RaceFormatText;
    board["mode"] = state.PracticeMode ? "practice" : state.TimedRace ? "minutes" : "laps";
    board["demo"] = state.DemoMode;
    board["track"] = state.Settings.TrackName;
    board["clock"] = screen.clockText;
    board["clockRed"] = screen.clockColor == ClockRed;
    board["running"] = state.TimerEnabled;
    board["flag"] = FlagName(screen.flagBitmap);
    board["raceOver"] = screen.raceOver;
    board["alarm"] = screen.alarm;
    board["columns"] = {{"lag", state.PracticeMode ? std::string(MedianMode) : state.LagColumnMode},
                        {"best", state.BestColumnMode}};

    json cars = json::array();
    const bool practice = state.PracticeMode;
    int row = 0;
    for (int id : RowOrder(state)) {
        ++row;
        const int i = id - 1;
        const int laps = state.LapCount[i];
        // Practice shows a car's laps only once it has been seen since the reset.
        const bool seen = !practice || laps != state.Settings.FirstLapCount;
        const std::string& median = MedianOf(state, id);
        json car;
        car["row"] = row;
        car["id"] = id;
        car["name"] = state.IdName(id);
        car["color"] = CssColor(state.Settings.IdColor[i]);
        car["ink"] = CssInkOn(state.Settings.IdColor[i]);
        car["laps"] = seen ? std::to_string(laps) : std::string();
        car["last"] = seen ? LapTimeText(state, id) : std::string();
        car["gap"] = practice ? std::string() : Trimmed(LagBehindCellText(state, id));
        car["best"] = Trimmed(BestLapCellText(state, id));
        car["lagColumn"] = Trimmed(LagColumnText(state, id, median));
        car["bestColumn"] = BestColumnText(state, id, median);
        car["median"] = median;
        car["position"] = practice ? 0 : static_cast<int>(state.RacePosition[i]);
        json recent = json::array();
        const LapRow& times = state.LapTimes[static_cast<size_t>(i)];
        for (int lap = std::min(laps, MaxLapNumber); lap >= 1 && recent.size() < DriverLaps; --lap)
            recent.push_back(
                {{"lap", lap}, {"time", LapText(times[static_cast<size_t>(lap)], state.Locale)}});
        car["recent"] = std::move(recent);
        car["active"] = IsNamed(state.IdName(id)) || laps > 0;
        cars.push_back(std::move(car));
    }
    board["cars"] = std::move(cars);
    if (meeting)
        board["meeting"] = MeetingJson(*meeting);
    return board.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace kesto
