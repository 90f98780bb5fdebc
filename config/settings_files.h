#pragma once
// Reading and writing the two binary record files: the timing settings
// ("KestoSettings.dat") and the racer names per car ID ("Racers.dat"), both in
// the program folder. Layouts are in settings_records.h; names are matched
// without regard to letter case.
//
// Error policy: saves return false and give the system's description of the
// error through `error` (the caller shows it to the operator); a failed save
// leaves the old file whole. Loads never report: a file that cannot be read
// leaves the record as it was, and a damaged (short) file reads as far as it
// goes, with the missing fields zero or empty.

#include "base/settings_records.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace kesto {

inline constexpr const char* SettingsFileName = "KestoSettings.dat";
inline constexpr const char* IdNamesFileName = "Racers.dat";

// -1 when the file's length cannot be had (missing, not a file, bad path),
// 0 when the file is empty, 1 when it holds data. Never reports an error.
int16_t FileStatus(const std::filesystem::path& folder, const std::string& name);

// The exact bytes of one record as written to disk (text in Windows-1252).
std::string EncodeSettingsRecord(const SettingsRecord& record);
std::string EncodeIdNamesRecord(const IdNamesRecord& record);
// Reads one record from the start of `bytes`; later bytes are ignored.
// Returns false when the bytes ended inside the record (fields missing).
bool DecodeSettingsRecord(std::string_view bytes, SettingsRecord& record);
bool DecodeIdNamesRecord(std::string_view bytes, IdNamesRecord& record);

bool SaveSettingsFile(const std::filesystem::path& folder, const std::string& name,
                      const SettingsRecord& record, std::string* error = nullptr);
// When the file is missing or empty, writes `record` (the settings held in
// memory) as the file first, so a first run creates it; then reads it back.
void LoadSettingsFile(const std::filesystem::path& folder, const std::string& name,
                      SettingsRecord& record);
// Saves the settings held in memory as "KestoSettings.dat".
bool WriteSettings(const std::filesystem::path& folder, const SettingsRecord& record,
                   std::string* error = nullptr);

bool SaveIdNames(const std::filesystem::path& folder, const std::string& name,
                 const IdNamesRecord& record, std::string* error = nullptr);
// Empties the names, creates an empty file when there is none, then reads.
void LoadIdNames(const std::filesystem::path& folder, const std::string& name,
                 IdNamesRecord& record);

} // namespace kesto
