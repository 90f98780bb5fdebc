#include "support/race_rig.h"

#include "engine/decoder_record.h"

#include <algorithm>
#include <cstdio>

namespace kesto::test {

std::string DecoderClockLine(int32_t ms) {
    int32_t s = ms / 1000;
    char line[32];
    std::snprintf(line, sizeof line, "@00%02d%02d%02d\n", s / 3600, s / 60 % 60, s % 60);
    return line;
}

std::string DecoderPassLine(int id, int32_t ms) {
    int32_t s = ms / 1000;
    char line[32];
    std::snprintf(line, sizeof line, "@%02d%02d%02d%02d%02d\n", id, s / 3600, s / 60 % 60, s % 60,
                  ms % 1000 / 10);
    return line;
}

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
    // The main window tells its tick when the race timer stops.
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

} // namespace kesto::test
