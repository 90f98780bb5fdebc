#pragma once
// Which race events are announced and which wave file sounds for a car's lap,
// personal best and race best. Loaded from "LMSounds.dat" by the sound window.

#include <array>
#include <string>

namespace kesto {

// Race events in list order; the index is the position in RaceSoundEnabled.
enum RaceSound : int {
    RaceStartsIn20Sec = 0,
    RaceStartsIn5Sec = 1,
    GetReady = 2,
    Go = 3,
    YellowFlag = 4,
    WhiteFlag = 5,
    OneMinuteLeft = 6,
    FiveMinutesLeft = 7,
    HalfwayThruTheRace = 8,
    TenSecondsLeft = 9,
    RaceOver = 10,
    CheckeredFlag = 11,
};
inline constexpr int RaceSoundCount = 12;

// Car sound slots.
enum CarSound : int { OverallBestLapSound = 0, EachLapSound = 1, PersonalBestLapSound = 2 };

struct SoundChoices {
    std::array<bool, 21> RaceSoundEnabled{};  // entries 12..20 unused
    std::array<bool, 21> RaceSoundPlayed{};   // 6..9 mark announcements made this race
    std::array<int16_t, 3> CarSoundEnabled{}; // 1 = on
    std::array<std::string, 3> CarSoundFile;  // relative to the sound folder
};

} // namespace kesto
