#include "engine/journal_place.h"

#include "base/file_names.h"
#include "engine/journal_format.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kesto {
namespace {

// Enough to tell a journal by: its first lines.
constexpr size_t PrefixBytes = 64 * 1024;

bool ReadUpTo(int fd, size_t limit, std::string& bytes) {
    char buffer[65536];
    while (bytes.size() < limit) {
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The shape of a journal line, whatever damage its fields took: a number, a
// blank, ..., a blank and eight hex digits.
bool ShapedLikeJournalLine(std::string_view line) {
    if (line.size() < 12 || !IsDigit(line[0]) || line[line.size() - 9] != ' ')
        return false;
    const size_t blank = line.find(' ');
    for (size_t i = 0; i < blank; ++i)
        if (!IsDigit(line[i]))
            return false;
    for (char ch : line.substr(line.size() - 8))
        if (!IsDigit(ch) && !(ch >= 'a' && ch <= 'f'))
            return false;
    return true;
}

// A journal's first line names the format (even a damaged one mostly still
// does), or some line of it has the shape of a journal line.
bool LooksLikeJournal(std::string_view prefix) {
    const std::string start = std::string("0 ") + JournalFormatName;
    if (prefix.substr(0, start.size()) == start)
        return true;
    for (size_t pos = 0; pos < prefix.size();) {
        const size_t end = prefix.find('\n', pos);
        if (end == std::string_view::npos)
            break;
        if (ShapedLikeJournalLine(prefix.substr(pos, end - pos)))
            return true;
        pos = end + 1;
    }
    return false;
}

} // namespace

std::string NotAJournalText(const std::filesystem::path& file) {
    return file.string() + " is not a race journal: left as it is";
}

FoundJournal InspectJournalPlace(const std::filesystem::path& file, bool whole) {
    FoundJournal found;
    // O_NONBLOCK: a FIFO must not hold the open; O_NOFOLLOW: a link is not ours.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            found.place = JournalPlace::Missing;
        } else {
            found.place = JournalPlace::Foreign;
            found.error = errno == ELOOP
                              ? NotAJournalText(file)
                              : file.string() + ": " + std::generic_category().message(errno) +
                                    ": left as it is";
        }
        return found;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
    std::string bytes;
    if (regular && ReadUpTo(fd, PrefixBytes, bytes)) {
        if (bytes.empty()) {
            found.place = JournalPlace::Empty;
        } else if (LooksLikeJournal(bytes)) {
            found.place = JournalPlace::Journal;
            if (whole && ReadUpTo(fd, MaxJournalBytes, bytes))
                found.bytes = std::move(bytes);
            else if (whole)
                found.bytes.clear();
        }
    }
    ::close(fd);
    if (!regular || (found.place == JournalPlace::Missing)) {
        found.place = JournalPlace::Foreign;
        found.error = NotAJournalText(file);
    }
    return found;
}

std::string KeepJournalAside(const std::filesystem::path& programFolder,
                             const std::filesystem::path& journal) {
    const std::filesystem::path aside = ResolveInFolder(programFolder, JournalAsideName);
    const FoundJournal older = InspectJournalPlace(aside, false);
    if (older.place == JournalPlace::Foreign)
        return older.error;
    if (::rename(journal.c_str(), aside.c_str()) != 0)
        return journal.string() + " could not be kept as " + aside.filename().string() + ": " +
               std::generic_category().message(errno);
    return {};
}

} // namespace kesto
