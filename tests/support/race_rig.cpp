#include "support/race_rig.h"

#include "engine/decoder_record.h"

#include <algorithm>
#include <random>

namespace kesto::test {

int32_t LatestDecoderTime(const std::string& lines) {
    int32_t latest = 0;
    for (size_t from = 0; from < lines.size();) {
        size_t end = lines.find('\n', from);
        end = end == std::string::npos ? lines.size() : end;
        const DecoderRecord record = ReadDecoderRecord(lines.substr(from, end - from));
        if (record.isRecord)
            latest = std::max(latest, record.timeMs);
        from = end + 1;
    }
    return latest;
}

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
    Send(rig);
    rig.tick.Timer1_Timer(10);
}

void DecoderFeed::Down(RaceRig& rig, int32_t ms) {
    for (int32_t t = 0; t < ms; t += 10)
        Send(rig);
}

void DecoderFeed::Send(RaceRig& rig) {
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
    for (auto line = noise.lower_bound(decoderMs); line != noise.end() && line->first == decoderMs;
         ++line)
        sent += line->second;
    rig.race.port.Feed(sent);
}

} // namespace kesto::test
