#include "display/race_screen_rows.h"

#include "engine/cell_formulas.h"
#include "engine/race_screen.h"

namespace kesto {

std::string RaceNameText(const RaceState& state, int id) {
    return " " + state.IdName(id);
}

ScreenUpdate RaceScreenRows(const RaceState& state) {
    ScreenUpdate rows;
    for (int id = 1; id <= MaxCarIds; ++id) {
        const int r = state.RacePosition[id - 1];
        if (r < 1 || r > MaxCarIds)
            continue;
        RowUpdate& row = rows[r - 1];
        row.color = state.Settings.IdColor[id - 1];
        row.id = std::to_string(id);
        row.name = RaceNameText(state, id);
        row.lapNum = std::to_string(state.LapCount[id - 1]);
        row.lapTime = LapTimeText(state, id);
        row.best = BestColumnCellText(state, id);
        row.lag = LagColumnCellText(state, id);
    }
    return rows;
}

ScreenUpdate PracticeScreenRows(const RaceState& state) {
    const bool evenSecond = IsEvenSecond(state.RaceClock);

    ScreenUpdate rows;
    for (int id = 1; id <= MaxCarIds; ++id) {
        RowUpdate& row = rows[id - 1];
        if (evenSecond) {
            // A car without a lap in this session has no median of its own;
            // MedianLap may still hold one from an earlier race.
            row.lag = state.LapCount[id - 1] >= 1 ? state.MedianLap[id - 1] : std::string();
        }
        if (state.LapCount[id - 1] != state.Settings.FirstLapCount) {
            row.lapNum = std::to_string(state.LapCount[id - 1]);
            row.lapTime = LapTimeText(state, id);
        }
        row.best = PracticeBestCellText(state, id);
    }
    return rows;
}

ScreenUpdate LoadNamesRows(const RaceState& state) {
    ScreenUpdate rows;
    for (int id = 1; id <= MaxCarIds; ++id) {
        rows[id - 1].name = NameLabelText(state, id);
        rows[id - 1].id = std::to_string(id);
    }
    return rows;
}

ScreenUpdate ClearedRows() {
    ScreenUpdate rows;
    for (RowUpdate& row : rows) {
        row.lapNum = std::string();
        row.lapTime = std::string();
        row.lag = std::string();
        row.best = std::string();
    }
    return rows;
}

ScreenUpdate IdColorRows(const RaceState& state) {
    ScreenUpdate rows;
    for (int id = 1; id <= MaxCarIds; ++id)
        rows[id - 1].color = state.Settings.IdColor[id - 1];
    return rows;
}

} // namespace kesto
