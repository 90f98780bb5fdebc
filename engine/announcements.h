#pragma once
// The race's spoken announcements (modSound): the time left of a timed race,
// the halfway point, and the race-event sounds that race control and the start
// sequences play when their switch in the sound settings is on.

#include "base/sound_choices.h"
#include "base/sound_player.h"
#include "engine/race_caller.h"
#include "engine/race_state.h"

namespace kesto {

// The wave file of a race event, e.g. "White Flag.wav"; empty for an event that
// has no file ("Yellow Flag").
const char* RaceSoundFile(RaceSound event);

// Plays the event's file when its RaceSoundEnabled entry is on. True when played.
bool PlayRaceSound(const SoundChoices& sounds, SoundPlayer& player, RaceSound event);

// Timed race: announces 11, 62 and 302 seconds left ("10 Seconds Left",
// "1 Minute Left", "5 Minutes Left") and the halfway point, each once per race.
// An announcement that is switched off is neither played nor marked as made.
// One the caller speaks (RaceCaller::TimeLeftDue) plays no wave file.
void PlayTimeLeftSounds(const RaceState& state, SoundChoices& sounds, SoundPlayer& player,
                        RaceCaller& caller = NoRaceCaller());

// Lap race: announces the halfway point once, when the leader has half the laps
// (halves to even) still to go.
void PlayLapHalfwaySound(const RaceState& state, SoundChoices& sounds, SoundPlayer& player,
                         RaceCaller& caller = NoRaceCaller());

// Forgets the announcements made (run by the start reset).
void ClearTimeLeftSounds(SoundChoices& sounds);

} // namespace kesto
