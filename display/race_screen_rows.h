#pragma once
// What the 14 rows of the race screen show after each refresh, as plain data:
// the text of every cell and the row colour, with "not touched" for cells a
// refresh leaves as they are. Pure reads of the race state: the window copies
// these into its labels; the rules live here so they are tested without widgets.

#include "engine/race_state.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kesto {

// One row's writes; nullopt = the cell is not touched by this refresh.
struct RowUpdate {
    std::optional<int32_t> color; // background of all six cells (IdColor, Windows colour)
    std::optional<std::string> id;
    std::optional<std::string> name;
    std::optional<std::string> lapNum;
    std::optional<std::string> lapTime;
    std::optional<std::string> lag;
    std::optional<std::string> best;
};

// Row k (1 = top) in entry k - 1.
using ScreenUpdate = std::array<RowUpdate, MaxCarIds>;

// UpdateRaceScreen: every row by position with its car's colour, ID and name,
// from the standings as the engine last refreshed them (engine/standings.h).
ScreenUpdate RaceScreenRows(const RaceState& state);

// UpdatePracticeScreen: rows stay in ID order; the ID, name and colour cells
// are not written. On an even second the lag column shows the median.
ScreenUpdate PracticeScreenRows(const RaceState& state);

// LoadNames: ID and name of every row in ID order (" Select Name" without a name).
ScreenUpdate LoadNamesRows(const RaceState& state);

// ClearRowCells: the lap-number, lap-time, lag and best cells emptied.
ScreenUpdate ClearedRows();

// PaintRowsInIdOrder: row i in the colour of ID i.
ScreenUpdate IdColorRows(const RaceState& state);

// The name cell of a race refresh: a blank and the name, a lone blank without one.
std::string RaceNameText(const RaceState& state, int id);

} // namespace kesto
