#include "scripted_race.h"

#include "config/data_files.h"
#include "config/first_run_seed.h"
#include "config/race_format_lists.h"
#include "config/settings_files.h"
#include "tools/decoder-sim/decoder_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace kesto::e2e {

namespace fs = std::filesystem;

std::vector<sim::Passing> ScriptedRace(int laps) {
    std::vector<sim::Passing> passings;
    for (int c = 1; c <= ScriptedCars; ++c)
        for (int k = 0; k <= laps + 1; ++k)
            passings.push_back({300 * c + k * (2400 + 30 * (c - 1)), c});
    std::sort(passings.begin(), passings.end(),
              [](const sim::Passing& a, const sim::Passing& b) { return a.ms < b.ms; });
    return passings;
}

void WriteScript(const fs::path& path, const std::vector<sim::Passing>& passings) {
    std::ofstream out(path);
    for (const sim::Passing& p : passings)
        out << p.ms / 1000 << "." << (p.ms % 1000) / 100 << (p.ms % 100) / 10 << " " << p.id
            << "\n";
}

std::string DecoderLinesBetween(const std::vector<sim::Passing>& passings, int64_t fromMs,
                                int64_t toMs) {
    std::string lines;
    size_t next = 0;
    for (int64_t second = 0; second <= toMs; second += 1000) {
        for (; next < passings.size() && passings[next].ms < second; ++next)
            if (passings[next].ms > fromMs && passings[next].ms <= toMs)
                lines += sim::DetectionLine(passings[next].id, passings[next].ms);
        if (second > fromMs)
            lines += sim::ClockLine(second);
    }
    for (; next < passings.size(); ++next)
        if (passings[next].ms > fromMs && passings[next].ms <= toMs)
            lines += sim::DetectionLine(passings[next].id, passings[next].ms);
    return lines;
}

void WriteClubFolder(const fs::path& folder, int laps) {
    fs::create_directories(folder);
    if (!fs::exists(folder / "LmSound"))
        fs::copy(KESTO_SOUND_FOLDER, folder / "LmSound", fs::copy_options::recursive);
    SettingsRecord settings = FirstRunSettings();
    settings.MinLapTime = 1;
    settings.MinLapTimeIndex = 0;
    settings.StartDelay = 0;
    settings.StartDelayIndex = 0;
    settings.ComPort = 1;
    settings.ComPortIndex = 0;
    settings.FirstLapCount = 0;
    settings.FirstLapIndex = 1;
    ASSERT_TRUE(SaveSettingsFile(folder, SettingsFileName, settings));
    IdNamesRecord names;
    for (int i = 0; i < MaxCarIds; ++i) {
        names.IdName[i] = i < ScriptedCars ? ScriptedRacers.at(static_cast<size_t>(i)) : "Empty";
        names.NamedId[i] = static_cast<int16_t>(i + 1);
    }
    ASSERT_TRUE(SaveIdNames(folder, IdNamesFileName, names));
    ASSERT_TRUE(WriteSpeedMultiplier(folder, FirstRunSpeedMultiplier()));
    RaceFormatChoices format;
    const auto& list = LapsList();
    format.NumberOfLapsIndex =
        static_cast<int16_t>(std::find(list.begin(), list.end(), laps) - list.begin());
    format.LapRace = true;
    ASSERT_TRUE(WriteRaceFormat(folder, format));
}

} // namespace kesto::e2e
