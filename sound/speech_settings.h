#pragma once
// The spoken calls the club has switched on, and the voice that speaks them:
// kept in "KestoSpeech.dat" in the program folder, a file of its own so the
// sound choices' file "LMSounds.dat" keeps its eighteen lines. Every call is
// off until the sound window switches it on.
//
// The file holds one "Name=value" line per setting:
//   BestLap=1  LapCounts=Off|EachCar|Leader  Podium=1  Racers=1  TimeLeft=1
//   Voice=English_(Great_Britain)  Speed=175  Volume=100

#include <filesystem>
#include <string>

namespace kesto {

inline constexpr const char* SpeechSettingsFileName = "KestoSpeech.dat";

enum class LapCountCalls { Off, EachCar, Leader };

struct SpeechSettings {
    bool bestLap = false;                         // "New best lap, Ann Baker, 3.25"
    LapCountCalls lapCounts = LapCountCalls::Off; // "Ann Baker, lap 12"
    bool podium = false;                          // the winner and the podium at the close
    bool racers = false;                          // the racers' names at the start lights
    bool timeLeft = false;                        // time left spoken instead of its wave file
    std::string voice;                            // an espeak-ng voice name; empty: its default
    int speed = 175;                              // words a minute
    int volume = 100;                             // 0..100, as the sound ring's volume

    bool AnyCallOn() const;
    bool operator==(const SpeechSettings&) const = default;
};

inline constexpr int MinSpeechSpeed = 80;
inline constexpr int MaxSpeechSpeed = 450;

std::filesystem::path SpeechSettingsPath(const std::filesystem::path& programFolder);

// The settings of the file; a missing file, an unknown line or a value out of
// range leaves the defaults for what it could not give.
SpeechSettings ReadSpeechSettings(const std::filesystem::path& programFolder);

// Replaces the file at once (never half-written). False with the system's
// description in `error` when it cannot be written.
bool WriteSpeechSettings(const std::filesystem::path& programFolder, const SpeechSettings& settings,
                         std::string* error = nullptr);

} // namespace kesto
