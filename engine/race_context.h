#pragma once
// What the engine's operations work on: the race state, the sound choices and
// the platform seams. The program owns one; tests build one from test doubles.

#include "engine/decoder_port.h"
#include "engine/dialogs.h"
#include "engine/race_journal.h"
#include "engine/race_state.h"
#include "engine/random_source.h"
#include "engine/sound_player.h"
#include "engine/wall_clock.h"
#include "sound/sound_choices.h"

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

    RaceJournal& Journal() const { return journal ? *journal : NoRaceJournal(); }
};

} // namespace kesto
