#include "config/roster_file.h"

#include "base/file_names.h"
#include "base/safe_write.h"
#include "config/settings_files.h"
#include "config/value_file.h"

#include <cstdint>

namespace kesto {
namespace {

namespace fs = std::filesystem;

fs::path RosterPath(const fs::path& folder) {
    return ResolveInFolder(folder, RosterFileName);
}

std::string RosterLine(const std::string& name) {
    ValueFileWriter writer;
    writer.Text(name).EndLine();
    return writer.Bytes();
}

} // namespace

std::optional<std::vector<std::string>> ReadNameList(const fs::path& file, std::string* error,
                                                     ValueFileText text) {
    auto reader = ValueFileReader::Open(file, error, text);
    if (!reader)
        return std::nullopt;
    std::vector<std::string> names;
    while (auto name = reader->Next())
        if (!name->empty())
            names.push_back(std::move(*name));
    return names;
}

std::optional<std::vector<std::string>> ReadRoster(const fs::path& folder, std::string* error) {
    return ReadNameList(RosterPath(folder), error);
}

bool WriteRoster(const fs::path& folder, const std::vector<std::string>& names,
                 std::string* error) {
    ValueFileWriter writer;
    for (const std::string& name : names)
        writer.Text(name).EndLine();
    return writer.SaveTo(RosterPath(folder), error);
}

bool AppendRosterName(const fs::path& folder, const std::string& name, std::string* error) {
    const fs::path path = RosterPath(folder);
    std::string bytes;
    std::error_code exists;
    if (fs::exists(path, exists) && !ReadFilePrefix(path, SIZE_MAX, bytes, error))
        return false;
    // A hand-edited file may lack the last line end; the new name starts a line.
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r')
        bytes += "\r\n";
    bytes += RosterLine(name);
    return WriteFileAtomically(path, bytes, error);
}

std::optional<std::vector<std::string>> RacerListEntries(const fs::path& folder) {
    if (FileStatus(folder, RosterFileName) == -1)
        return std::nullopt;
    std::vector<std::string> entries = ReadRoster(folder).value_or(std::vector<std::string>{});
    entries.push_back(EmptyNameEntry);
    return entries;
}

} // namespace kesto
