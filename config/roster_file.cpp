#include "config/roster_file.h"

#include "base/file_names.h"
#include "base/safe_write.h"
#include "config/settings_files.h"
#include "config/value_file.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

// One line added at the end of a roster too large to rewrite, without
// following a link.
bool AppendInPlace(const fs::path& path, const std::string& line, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int code = errno;
        if (fd >= 0)
            ::close(fd);
        if (error != nullptr)
            *error = fd < 0 && code != ELOOP ? std::generic_category().message(code)
                                             : LeftAsItIsText(path, "a regular file");
        return false;
    }
    // A hand-edited roster may lack its last line end; the name gets a line of its own.
    char last = '\n';
    if (info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) != 1)
        last = '\n';
    const std::string bytes = (last == '\n' || last == '\r' ? "" : "\r\n") + line;
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    const int code = errno;
    ::close(fd);
    if (written == static_cast<ssize_t>(bytes.size()))
        return true;
    if (error != nullptr)
        *error = std::generic_category().message(written < 0 ? code : ENOSPC);
    return false;
}

} // namespace

std::optional<std::vector<std::string>> ReadNameList(const fs::path& file, std::string* error,
                                                     ValueFileText text, std::string* cutNotice) {
    auto reader = ValueFileReader::Open(file, error, text, MaxRosterBytes);
    if (!reader)
        return std::nullopt;
    std::vector<std::string> names;
    bool cut = reader->Cut();
    while (auto name = reader->Next()) {
        if (name->empty())
            continue;
        if (names.size() == MaxRosterNames) {
            cut = true;
            break;
        }
        names.push_back(std::move(*name));
    }
    if (cutNotice != nullptr)
        *cutNotice = cut ? RosterCutNotice(file, names.size()) : std::string();
    return names;
}

std::string RosterCutNotice(const fs::path& file, size_t namesRead) {
    return file.string() + " is larger than any club's roster (over " +
           std::to_string(MaxRosterNames) + " names or 1 MB): only its first " +
           std::to_string(namesRead) + " names are read.";
}

std::optional<std::vector<std::string>> ReadRoster(const fs::path& folder, std::string* error,
                                                   std::string* cutNotice) {
    return ReadNameList(RosterPath(folder), error, ValueFileText::Windows1252, cutNotice);
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
    if (fs::exists(fs::symlink_status(path, exists)) &&
        !ReadFilePrefix(path, MaxRosterBytes + 1, bytes, error))
        return false;
    if (bytes.size() > MaxRosterBytes)
        return AppendInPlace(path, RosterLine(name), error); // never rewritten from a part
    // A hand-edited file may lack the last line end; the new name starts a line.
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r')
        bytes += "\r\n";
    bytes += RosterLine(name);
    return WriteFileAtomically(path, bytes, error);
}

std::optional<std::vector<std::string>> RacerListEntries(const fs::path& folder,
                                                         std::string* cutNotice) {
    if (FileStatus(folder, RosterFileName) == -1)
        return std::nullopt;
    std::vector<std::string> entries =
        ReadRoster(folder, nullptr, cutNotice).value_or(std::vector<std::string>{});
    entries.push_back(EmptyNameEntry);
    return entries;
}

} // namespace kesto
