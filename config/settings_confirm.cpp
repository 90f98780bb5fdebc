#include "config/settings_confirm.h"

#include "config/data_files.h"
#include "config/settings_files.h"
#include "config/settings_lists.h"
#include "engine/race_state.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kesto {

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The numeric value of a list text ("5280", "1.25"), "." as the decimal point.
bool NumberOf(const std::string& text, double& value) {
    const std::string trimmed = Trimmed(text);
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto result = std::from_chars(begin, end, value);
    return begin != end && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

void AddError(std::string& errors, const std::string& what, const std::string& text) {
    if (!errors.empty())
        errors += "\n";
    errors += what + ": \"" + text + "\" is not a valid choice";
}

// A list text as a 16-bit whole number, rounded half to even.
bool Take16(const std::string& text, int16_t& field, int16_t offset, const std::string& what,
            std::string& errors) {
    double value = 0;
    if (NumberOf(text, value)) {
        const double rounded = std::nearbyint(value) + offset;
        if (rounded >= std::numeric_limits<int16_t>::min() &&
            rounded <= std::numeric_limits<int16_t>::max()) {
            field = static_cast<int16_t>(rounded);
            return true;
        }
    }
    AddError(errors, what, text);
    return false;
}

void ShowError(Dialogs& dialogs, const std::string& description) {
    Message box;
    box.text = description;
    dialogs.Show(box);
}

} // namespace

bool AnySettingMissing(const SettingsChoices& choices) {
    return choices.scale.empty() || choices.trackLength.empty() || choices.minLapTime.empty() ||
           choices.comPort.empty() || choices.startDelay.empty() || choices.firstLap.empty();
}

void TakeSettingsChoices(const SettingsChoices& choices, SettingsRecord& record,
                         std::string& errors) {
    Take16(choices.trackLength, record.TrackLength, 0, "Length", errors);
    record.ScaleText = choices.scale;
    double minLapTime = 0;
    if (NumberOf(choices.minLapTime, minLapTime) && minLapTime >= 0 &&
        minLapTime <= std::numeric_limits<float>::max())
        record.MinLapTime = static_cast<float>(minLapTime);
    else
        AddError(errors, "Min Lap Time", choices.minLapTime);
    Take16(choices.startDelay, record.StartDelay, 0, "Start Delay", errors);
    Take16(choices.comPort, record.ComPort, 0, "Comm Port", errors);
    Take16(choices.firstLap, record.FirstLapCount, -1, "Race Begins With Lap", errors);
    record.TrackLengthIndex = choices.trackLengthIndex;
    record.ScaleIndex = choices.scaleIndex;
    record.MinLapTimeIndex = choices.minLapTimeIndex;
    record.StartDelayIndex = choices.startDelayIndex;
    record.ComPortIndex = choices.comPortIndex;
    record.FirstLapIndex = choices.firstLapIndex;
    record.TrackName = choices.trackName;
}

SettingsConfirmResult ConfirmSettings(RaceState& state, const SettingsChoices& choices,
                                      const std::filesystem::path& folder, Dialogs& dialogs,
                                      const SettingsConfirmHooks& hooks) {
    state.KeepSettingsOpen = false;
    if (AnySettingMissing(choices)) {
        Message box;
        box.title = MissingOptionsTitle;
        box.text = MissingOptionsText;
        box.icon = MessageIcon::Error;
        dialogs.Show(box);
        return SettingsConfirmResult::MissingOptions;
    }

    std::string errors;
    TakeSettingsChoices(choices, state.Settings, errors);
    if (!errors.empty())
        ShowError(dialogs, errors);

    std::string error;
    if (!SaveSettingsFile(folder, SettingsFileName, state.Settings, &error))
        ShowError(dialogs, error);
    if (!SaveIdNames(folder, IdNamesFileName, state.Names, &error))
        ShowError(dialogs, error);

    if (hooks.composeTitle)
        hooks.composeTitle();

    ConvertScale(state.Settings.ScaleText, state.Settings.ScaleDivisor);
    state.SpeedMultiplier =
        ComputeSpeedMultiplier(state.Settings.TrackLength, state.Settings.ScaleDivisor);
    if (!WriteSpeedMultiplier(folder, state.SpeedMultiplier, &error))
        ShowError(dialogs, error);

    if (hooks.openComPort)
        hooks.openComPort(state.Settings.ComPort);
    return SettingsConfirmResult::Confirmed;
}

} // namespace kesto
