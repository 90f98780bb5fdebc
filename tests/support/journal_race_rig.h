#pragma once
// A whole timer that keeps a race journal: the race rig (support/race_rig.h)
// with a JournalFile in a folder of the test's, every car named and every
// sound on. Decoder races are fed from a plan of passes (DecoderFeed), tick by tick.

#include "engine/journal_alarm.h"
#include "engine/journal_file.h"
#include "engine/journal_replay.h"
#include "support/race_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kesto::test {

struct JournalRig : RaceRig {
    explicit JournalRig(const std::filesystem::path& folder) : journal(folder) {
        race.context.journal = &journal;
        NameAllCars();
        journal.OnErrorChanged(
            [this](const std::string& error) { ShowJournalError(screen, error); });
        race.sounds.RaceSoundEnabled.fill(true);
        race.sounds.CarSoundEnabled.fill(1);
    }
    void Start() {
        control.ReSet();
        control.cmdStart_Click();
    }

    JournalFile journal;
};

// The race a journal's bytes rebuild, replayed into a fresh state.
struct Replayed {
    RaceState state;
    SoundChoices sounds;
    UnfinishedRace race;
};
Replayed ReplayJournalBytes(const std::string& bytes, const SoundChoices& choices);

// Every value of the race that a replay must rebuild. Demo races advance
// the clock on ticks without events, so there the clock may lag.
void ExpectSameRace(const RaceState& expected, const RaceState& actual, bool exactClock = true);

} // namespace kesto::test
