#pragma once
// The club's racer roster, "kestoRacers.dat" in the program folder: one quoted
// name per line, in roster order, no count and no header. The same reader
// takes any name list chosen for import, which may hold several names on one
// line, quoted or not ("Tom,Jerry").
//
// Writes return false with the system's description in `error` on failure and
// leave the old file whole. Empty values (blank fields, "") are not names and
// are skipped when reading.

#include "config/value_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

inline constexpr const char* RosterFileName = "kestoRacers.dat";
inline constexpr const char* EmptyNameEntry = "Empty"; // last entry of every name list

// No club's roster comes near these; a larger file is read only this far.
inline constexpr size_t MaxRosterNames = 10000;
inline constexpr size_t MaxRosterBytes = size_t{1} << 20;

// Every name of any value file, in file order; nullopt when it cannot be read.
// The roster itself is Windows-1252; a list chosen for import is read as
// UTF-8 when it is valid UTF-8 (as a spreadsheet exports it), else as 1252.
// A file beyond the limits above is read up to them, and `cutNotice` (when
// given) says so; it is empty otherwise.
std::optional<std::vector<std::string>>
ReadNameList(const std::filesystem::path& file, std::string* error = nullptr,
             ValueFileText text = ValueFileText::Windows1252, std::string* cutNotice = nullptr);

// The notice of a name list read only up to the limits.
std::string RosterCutNotice(const std::filesystem::path& file, size_t namesRead);

std::optional<std::vector<std::string>> ReadRoster(const std::filesystem::path& folder,
                                                   std::string* error = nullptr,
                                                   std::string* cutNotice = nullptr);
// Replaces the roster file with `names`, one line each (an empty list leaves an
// empty file).
bool WriteRoster(const std::filesystem::path& folder, const std::vector<std::string>& names,
                 std::string* error = nullptr);
// Adds one line at the end of the roster file, creating it when missing (a
// roster beyond the limits gets the line appended in place, the rest of it
// untouched).
bool AppendRosterName(const std::filesystem::path& folder, const std::string& name,
                      std::string* error = nullptr);

// The entries of each of the 14 name lists of the race screen: the roster in
// file order, then "Empty". nullopt when there is no roster file: the lists
// are then left as they are. A roster that cannot be read gives just "Empty".
std::optional<std::vector<std::string>> RacerListEntries(const std::filesystem::path& folder,
                                                         std::string* cutNotice = nullptr);

} // namespace kesto
