#pragma once
// The OK of the settings window frmKestoSettings as one operation on the race
// state: check that every list has a choice, take the values, save the
// settings and racer-name records, recompose the title, convert the scale,
// compute and save the speed multiplier, and reopen the decoder port. The
// window gathers the texts of its controls; everything else happens here.

#include "base/dialogs.h"
#include "base/settings_records.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace kesto {

struct RaceState;

inline constexpr const char* MissingOptionsTitle = "Missing options";
inline constexpr const char* MissingOptionsText = "Please select all options";

// The texts and positions of the window's lists and its track name box.
struct SettingsChoices {
    std::string trackLength;
    std::string scale;
    std::string minLapTime;
    std::string comPort;
    std::string startDelay;
    std::string firstLap;
    int16_t trackLengthIndex = 0;
    int16_t scaleIndex = 0;
    int16_t minLapTimeIndex = 0;
    int16_t comPortIndex = 0;
    int16_t startDelayIndex = 0;
    int16_t firstLapIndex = 0;
    std::string trackName;
};

// True when any of the six lists has no text.
bool AnySettingMissing(const SettingsChoices& choices);

// Takes the values into the record: the numbers from the list texts (the
// first-lap choice minus 1), the positions and the track name. A text that is
// not a number, or does not fit, leaves its field as it was and is described
// in `errors` (one line each).
void TakeSettingsChoices(const SettingsChoices& choices, SettingsRecord& record,
                         std::string& errors);

// What confirming needs from the windows around it.
struct SettingsConfirmHooks {
    // Rewrites the main window's title and race format caption.
    std::function<void()> composeTitle;
    // Opens the decoder port (OpenComPort); may set KeepSettingsOpen.
    std::function<void(int port)> openComPort;
};

enum class SettingsConfirmResult { MissingOptions, Confirmed };

// cmdOK of the settings window. With a list left empty it shows "Please
// select all options" and changes nothing. Otherwise it runs every step even
// when one fails (a failure shows its description, OK button, no title).
// The settings file is written before the scale is converted, so it holds the
// divisor of the previous conversion; only "KestoSpeedMultiplier.dat" carries
// the new scale, and nothing reads the stored divisor.
SettingsConfirmResult ConfirmSettings(RaceState& state, const SettingsChoices& choices,
                                      const std::filesystem::path& folder, Dialogs& dialogs,
                                      const SettingsConfirmHooks& hooks);

} // namespace kesto
