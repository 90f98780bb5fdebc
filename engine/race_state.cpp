#include "engine/race_state.h"

namespace kesto {

RaceState::RaceState() : LapTimes(MaxCarIds), SortedLapTimes(MaxCarIds) {
    for (auto& row : LapTimes)
        row.fill(0.0f);
    for (auto& row : SortedLapTimes)
        row.fill(0.0f);
    // Everything else starts at zero, as at program start: a RaceOrder of zeros
    // means "no running order computed yet", which the reports check for.
}

const char* Caption(StartButton button) {
    switch (button) {
    case StartButton::Start:
        return "Start";
    case StartButton::Abort:
        return "Abort";
    case StartButton::Reset:
        return "Reset";
    }
    return "Start";
}

} // namespace kesto
