#pragma once
// The pointer and tooltip the race screen shows over each of its parts, as
// the race state makes them clickable: a hand over what a click changes now,
// the racer picture over the name cells while names can be chosen.

#include "engine/race_state.h"

#include <optional>
#include <string>

namespace kesto {

// The mouse pointer the race screen shows.
enum class Pointer { Default, Hand, Racer };

// The parts of the screen with a pointer of their own; the rest is Other.
enum class ScreenPart { BestLapHeader, LagHeader, BestCell, NameCell, RaceFormat, Other };

// Unset fields leave the pointer or the control's tooltip as they are.
struct PointerFeedback {
    std::optional<Pointer> pointer;
    std::optional<std::string> tooltip;
};

PointerFeedback MouseOver(const RaceState& state, ScreenPart part);

} // namespace kesto
