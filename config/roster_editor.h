#pragma once
// The racer roster as the roster windows (frmKestoAddRacer, frmAddModifyRacer)
// edit it: the list of names, always equal to "kestoRacers.dat" after each
// change. Every change writes the file at once; a change whose write fails is
// not made, so the list never shows names the file does not hold.

#include "base/dialogs.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kesto {

inline constexpr const char* AlreadyExistsSuffix = " already exists";

// A typed racer name as it is stored: leading and trailing blanks removed,
// then the first letter of each word upper case and every other letter lower
// case (letters of Windows-1252 included, so "JOSÉ" becomes "José").
std::string RacerNameFromInput(const std::string& typed);

// "Total number of Racers: " followed by the count.
std::string RacerCountText(size_t count);

class RosterEditor final {
public:
    explicit RosterEditor(std::filesystem::path programFolder);

    // Reads the roster file. When it cannot be read the list is empty and
    // `error` tells why. A roster beyond the limits of roster_file.h is read
    // up to them and Notice() says so; Modify and Delete, which would rewrite
    // the file from that part, are then refused.
    bool Load(std::string* error);
    // The notice of the last Load or Import that read a file only in part;
    // empty when the whole file was read.
    const std::string& Notice() const { return m_notice; }

    const std::vector<std::string>& Names() const { return m_names; }
    std::string CountText() const { return RacerCountText(m_names.size()); }
    // An entry equal to `name`, letter case included.
    bool Contains(const std::string& name) const;

    // Appends one line to the file, then the name to the list.
    bool Add(const std::string& name, std::string* error);
    // Replaces entry `index` and rewrites the file. False for an index
    // outside the list (nothing written).
    bool Modify(size_t index, const std::string& name, std::string* error);
    // Removes entry `index` and rewrites the file (an empty roster leaves an
    // empty file).
    bool Delete(size_t index, std::string* error);
    enum class ImportResult {
        Unreadable, // the chosen file could not be read: nothing changed
        NotSaved,   // the roster file could not be written: nothing changed
        Imported
    };
    // Replaces the whole roster with the names of `file` (any value file,
    // several names per line allowed) and rewrites the roster file.
    ImportResult Import(const std::filesystem::path& file, std::string* error);

private:
    bool Replace(std::vector<std::string> names, std::string* error);

    bool RosterCut(std::string* error) const;

    std::filesystem::path m_folder;
    std::vector<std::string> m_names;
    std::string m_notice;
    bool m_rosterCut = false;
};

enum class RacerNameMode { Add, Modify };
enum class RacerNameOutcome {
    Empty,     // nothing typed: the roster is left alone
    Duplicate, // "<name> already exists" was shown
    Saved,     // added or modified, file written
    Failed     // the file could not be written: the description was shown
};

// OK of the name window: the typed name in stored form, checked against every
// entry exactly (the entry being modified included), then added (one line
// appended to the file) or put in place of entry `editIndex`.
RacerNameOutcome ConfirmRacerName(RosterEditor& roster, RacerNameMode mode, size_t editIndex,
                                  const std::string& typed, Dialogs& dialogs);

} // namespace kesto
