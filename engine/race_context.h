#pragma once
// What the engine's operations work on: the race state, the sound choices and
// the platform seams. The program owns one; tests build one from test doubles.

#include "base/decoder_port.h"
#include "base/dialogs.h"
#include "base/random_source.h"
#include "base/sound_choices.h"
#include "base/sound_player.h"
#include "base/wall_clock.h"
#include "engine/race_caller.h"
#include "engine/race_journal.h"
#include "engine/race_state.h"
#include "engine/standings.h"

namespace kesto {

struct RaceContext {
    RaceState& state;
    SoundChoices& sounds;
    SoundPlayer& player;
    Dialogs& dialogs;
    RandomSource& random;
    WallClock& clock;
    DecoderPort& port;
    // Where the race's events are recorded; none when null.
    RaceJournal* journal = nullptr;
    // Who calls the race out loud; nobody when null.
    RaceCaller* caller = nullptr;
    // The lap viewer's grid, hidden while the standings sort the lap statistics.
    ViewerGridVisibility lapViewerGrid{};

    RaceJournal& Journal() const { return journal ? *journal : NoRaceJournal(); }
    RaceCaller& Caller() const { return caller ? *caller : NoRaceCaller(); }
};

} // namespace kesto
