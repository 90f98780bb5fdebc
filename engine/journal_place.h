#pragma once
// What is found where the race journal's files belong ("KestoRace.jnl", its
// ".old" copy): they are read without following a link and only from a
// regular file that has no other name, so a link, a FIFO, a folder or a
// foreign file in their place is never written through, moved or waited on.
// Such a thing is reported once ("... is not a race journal: left as it is")
// and the race goes on without a journal.

#include <cstddef>
#include <filesystem>
#include <string>

namespace kesto {

inline constexpr const char* JournalFileName = "KestoRace.jnl"; // in the program folder
inline constexpr const char* JournalAsideName = "KestoRace.jnl.old";
// Held locked by the timer that keeps the folder's journal; the lock goes with
// the process, so a killed timer never leaves the folder locked.
inline constexpr const char* JournalLockName = "KestoRace.lock";

// A journal of a very long race is a few megabytes; more is no journal of ours.
inline constexpr size_t MaxJournalBytes = size_t{1} << 30;

enum class JournalPlace {
    Missing, // nothing by that name
    Empty,   // an empty regular file
    Journal, // a regular file that is, or was, a race journal (maybe damaged)
    Foreign, // anything else: left as it is
};

struct FoundJournal {
    JournalPlace place = JournalPlace::Missing;
    std::string bytes; // a journal's bytes (up to MaxJournalBytes) when `whole` was asked
    std::string error; // for Foreign: why it is left as it is, in words for the operator
};

// Looks at `file`. Only a file that looks like a journal is read whole (and
// only when `whole`); anything else is judged by its first bytes.
FoundJournal InspectJournalPlace(const std::filesystem::path& file, bool whole);

// "<path> is not a race journal: left as it is".
std::string NotAJournalText(const std::filesystem::path& file);

// Keeps `journal` (a journal found by InspectJournalPlace) as
// "KestoRace.jnl.old" in `programFolder`, replacing an older copy. Empty on
// success, else why the journal was left where it is (the copy's place holds
// something that is not a journal, or the rename failed).
std::string KeepJournalAside(const std::filesystem::path& programFolder,
                             const std::filesystem::path& journal);

} // namespace kesto
