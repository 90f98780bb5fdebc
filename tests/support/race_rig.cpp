#include "support/race_rig.h"

#include <algorithm>
#include <random>

namespace kesto::test {

RaceRig::RaceRig() {
    // The race timer tells its tick when it stops, as the program's does.
    screen.onRaceTimer = [this](bool running) {
        if (!running)
            tick.RaceTimerStopped();
    };
    race.port.open = true;
    state.Settings.MinLapTime = 4;
    state.Settings.FirstLapCount = 0;
}

void RaceRig::NameAllCars() {
    for (int id = 1; id <= MaxCarIds; ++id)
        state.Names.IdName[id - 1] = "Racer " + std::to_string(id);
}

DecoderFeed DecoderFeed::Race(int cars, int laps, uint32_t seed) {
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

void DecoderFeed::Tick(RaceRig& rig) {
    decoderMs += 10;
    std::string sent;
    if (decoderMs % 1000 == 0)
        sent += DecoderClockLine(decoderMs);
    for (; next < plan.size() && plan[next].first <= decoderMs; ++next)
        sent += DecoderPassLine(plan[next].second, plan[next].first);
    rig.race.port.Feed(sent);
    rig.tick.Timer1_Timer(10);
}

} // namespace kesto::test
