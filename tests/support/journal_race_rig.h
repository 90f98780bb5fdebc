#pragma once
// A whole timer that keeps a race journal: race control and the race tick over
// the test doubles, a race screen that refreshes as the program's does (the
// display code computes the rows), and a JournalFile in a folder of the test's.
// Decoder races are fed from a plan of passes, tick by tick.

#include "engine/journal_file.h"
#include "engine/journal_replay.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/fake_race_screen.h"
#include "support/race_rig.h"
#include "support/scripted_start_sequence.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <utility>
#include <vector>

namespace kesto::test {

struct JournalRig {
    explicit JournalRig(const std::filesystem::path& folder) : journal(folder) {
        race.context.journal = &journal;
        race.port.open = true;
        state.Settings.MinLapTime = 4;
        state.Settings.FirstLapCount = 0;
        for (int id = 1; id <= MaxCarIds; ++id)
            state.Names.IdName[id - 1] = "Racer " + std::to_string(id);
        race.sounds.RaceSoundEnabled.fill(true);
        race.sounds.CarSoundEnabled.fill(1);
    }
    void Start() {
        control.ReSet();
        control.cmdStart_Click();
    }

    JournalFile journal;
    TestRace race;
    RaceState& state = race.state;
    FakeRaceScreen screen{race.state};
    ScriptedStartSequenceLauncher launcher{race.context};
    RaceControl control{race.context, screen, launcher};
    RaceTick tick{race.context, control, screen};
};

// Passes by race time, sent with the decoder's clock line at each of its
// whole seconds. The decoder's clock is race time, less the last moment it
// restarted from zero.
struct DecoderFeed {
    std::vector<std::pair<int32_t, int>> plan; // (time ms, car ID), sorted
    size_t next = 0;
    int32_t decoderMs = 0;                     // race time
    std::vector<int32_t> restarts;             // race times the decoder's clock restarts, sorted
    std::multimap<int32_t, std::string> noise; // more lines, by race time

    // `cars` cars of `laps` laps each, lap times 4.5 to 6.5 s, some detected twice.
    static DecoderFeed Race(int cars, int laps, uint32_t seed) {
        DecoderFeed feed;
        std::mt19937 random(seed);
        for (int id = 1; id <= cars; ++id) {
            int32_t at = 0;
            const int32_t pace = 4500 + static_cast<int32_t>(random() % 1500);
            for (int lap = 1; lap <= laps; ++lap) {
                at += pace + static_cast<int32_t>(random() % 500);
                at -= at % 10;
                feed.plan.emplace_back(at, id);
                if (random() % 7 == 0)
                    feed.plan.emplace_back(at + 300, id); // a bounce: too soon for a lap
            }
        }
        std::stable_sort(feed.plan.begin(), feed.plan.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return feed;
    }

    // The decoder's next 10 ms, then one tick of the race timer.
    void Tick(JournalRig& rig) {
        Send(rig);
        rig.tick.Timer1_Timer(10);
    }
    // `ms` with the timer down: what the decoder sends waits in the port.
    void Down(JournalRig& rig, int32_t ms) {
        for (int32_t t = 0; t < ms; t += 10)
            Send(rig);
    }

private:
    void Send(JournalRig& rig) {
        decoderMs += 10;
        int32_t since = 0;
        for (int32_t at : restarts)
            if (at <= decoderMs)
                since = at;
        std::string sent;
        if ((decoderMs - since) % 1000 == 0)
            sent += DecoderClockLine(decoderMs - since);
        for (; next < plan.size() && plan[next].first <= decoderMs; ++next)
            sent += DecoderPassLine(plan[next].second, plan[next].first - since);
        for (auto line = noise.lower_bound(decoderMs);
             line != noise.end() && line->first == decoderMs; ++line)
            sent += line->second;
        rig.race.port.Feed(sent);
    }
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
