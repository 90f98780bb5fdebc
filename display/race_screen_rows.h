#pragma once
// What the 14 rows of the race screen show after each refresh, as plain data:
// the text of every cell and the row colour, with "not touched" for cells a
// refresh leaves as they are. The window copies these into its labels; the
// rules live here so they are tested without widgets.

#include "engine/race_state.h"

#include <array>
#include <cstdint>
#include <functional>
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

// Called with false before the lap statistics are sorted and true after, so a
// lap viewer does not repaint half-sorted data. May be empty.
using ViewerGridVisibility = std::function<void(bool visible)>;

// UpdateRaceScreen: recomputes the running order and gaps, brings the lap
// statistics up to date on a whole second when a column shows the median,
// then writes every row by position with its car's colour, ID and name.
ScreenUpdate RaceScreenRows(RaceState& state, const ViewerGridVisibility& viewerGrid = {});

// UpdatePracticeScreen: rows stay in ID order; the ID, name and colour cells
// are not written. On an even second the lap statistics are brought up to
// date and the lag column shows the median.
ScreenUpdate PracticeScreenRows(RaceState& state, const ViewerGridVisibility& viewerGrid = {});

// LoadNames: ID and name of every row in ID order (" Select Name" without a name).
ScreenUpdate LoadNamesRows(const RaceState& state);

// ClearRowCells: the lap-number, lap-time, lag and best cells emptied.
ScreenUpdate ClearedRows();

// PaintRowsInIdOrder: row i in the colour of ID i.
ScreenUpdate IdColorRows(const RaceState& state);

// The name cell of a race refresh: a blank and the name, a lone blank without one.
std::string RaceNameText(const RaceState& state, int id);

} // namespace kesto
