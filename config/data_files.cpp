#include "config/data_files.h"

#include "base/file_names.h"
#include "config/value_file.h"

namespace kesto {
namespace {

namespace fs = std::filesystem;

void SetError(std::string* error, const std::string& description) {
    if (error != nullptr)
        *error = description;
}

// Runs `read` on the opened file; the first failed read gives the description.
template <class Read>
bool ReadValueFile(const fs::path& folder, const std::string& name, std::string* error, Read read) {
    auto reader = ValueFileReader::Open(ResolveInFolder(folder, name), error);
    if (!reader)
        return false;
    read(*reader);
    if (!reader->Error().empty()) {
        SetError(error, reader->Error());
        return false;
    }
    return true;
}

} // namespace

bool ReadSpeedMultiplier(const fs::path& folder, float& speedMultiplier, std::string* error) {
    return ReadValueFile(folder, SpeedMultiplierFileName, error,
                         [&](ValueFileReader& reader) { reader.ReadSingle(speedMultiplier); });
}

bool WriteSpeedMultiplier(const fs::path& folder, float speedMultiplier, std::string* error) {
    ValueFileWriter writer;
    writer.Single(speedMultiplier).EndLine();
    return writer.SaveTo(ResolveInFolder(folder, SpeedMultiplierFileName), error);
}

bool ReadRaceFormat(const fs::path& folder, RaceFormatChoices& choices, std::string* error) {
    return ReadValueFile(folder, RaceFormatFileName, error, [&](ValueFileReader& reader) {
        reader.ReadInt16(choices.NumberOfLapsIndex);
        reader.ReadInt16(choices.RaceMinutesIndex);
        reader.ReadBoolean(choices.TimedRace);
        reader.ReadBoolean(choices.LapRace);
        reader.ReadBoolean(choices.PracticeMode);
        reader.ReadInt16(choices.DemoMode);
    });
}

bool WriteRaceFormat(const fs::path& folder, const RaceFormatChoices& choices, std::string* error) {
    ValueFileWriter writer;
    writer.Whole(choices.NumberOfLapsIndex)
        .Whole(choices.RaceMinutesIndex)
        .Boolean(choices.TimedRace)
        .Boolean(choices.LapRace)
        .Boolean(choices.PracticeMode)
        .Whole(choices.DemoMode)
        .EndLine();
    return writer.SaveTo(ResolveInFolder(folder, RaceFormatFileName), error);
}

bool ReadLagColumnMode(const fs::path& folder, std::string& lagColumnMode, std::string* error) {
    return ReadValueFile(folder, RaceLagReadName, error,
                         [&](ValueFileReader& reader) { reader.ReadText(lagColumnMode); });
}

bool WriteLagColumnMode(const fs::path& folder, const std::string& caption, std::string* error) {
    ValueFileWriter writer;
    writer.Text(caption.empty() ? "Lag First" : caption).EndLine();
    return writer.SaveTo(ResolveInFolder(folder, RaceLagWriteName), error);
}

ComposedTitle ComposeTitleWithLagFile(RaceState& state, const std::filesystem::path& folder,
                                      std::string& lagColumnMode) {
    std::string mode;
    if (ReadLagColumnMode(folder, mode))
        lagColumnMode = std::move(mode);
    return ComposeTitle(state, lagColumnMode);
}

} // namespace kesto
