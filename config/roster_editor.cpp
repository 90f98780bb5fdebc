#include "config/roster_editor.h"

#include "base/windows1252.h"
#include "config/roster_file.h"

#include <algorithm>

namespace kesto {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsWordBreak(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\0';
}

// Letter case in Windows-1252: ASCII, the accented letters C0..DE / E0..FE
// (without the signs D7 and F7), and the pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ.
unsigned char Upper1252(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

unsigned char Lower1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

} // namespace

std::string RacerNameFromInput(const std::string& typed) {
    const auto first = std::find_if_not(typed.begin(), typed.end(), IsBlank);
    const auto last = std::find_if_not(typed.rbegin(), typed.rend(), IsBlank).base();
    if (first >= last)
        return {};
    // Case is changed in the code page the name is stored in, so every letter
    // the roster file can hold takes part, and nothing else changes.
    std::string bytes = Utf8ToWindows1252(std::string(first, last));
    bool wordStart = true;
    for (char& c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        c = static_cast<char>(wordStart ? Upper1252(byte) : Lower1252(byte));
        wordStart = IsWordBreak(byte);
    }
    return Windows1252ToUtf8(bytes);
}

std::string RacerCountText(size_t count) {
    return "Total number of Racers: " + std::to_string(count);
}

RosterEditor::RosterEditor(std::filesystem::path programFolder)
    : m_folder(std::move(programFolder)) {}

bool RosterEditor::Load(std::string* error) {
    m_names.clear();
    auto names = ReadRoster(m_folder, error, &m_notice);
    m_rosterCut = names && !m_notice.empty();
    if (!names)
        return false;
    m_names = std::move(*names);
    return true;
}

bool RosterEditor::RosterCut(std::string* error) const {
    if (m_rosterCut && error)
        *error = m_notice + " It is left as it is.";
    return m_rosterCut;
}

bool RosterEditor::Contains(const std::string& name) const {
    return std::find(m_names.begin(), m_names.end(), name) != m_names.end();
}

bool RosterEditor::Add(const std::string& name, std::string* error) {
    if (!AppendRosterName(m_folder, name, error))
        return false;
    m_names.push_back(name);
    return true;
}

bool RosterEditor::Modify(size_t index, const std::string& name, std::string* error) {
    if (RosterCut(error))
        return false;
    if (index >= m_names.size()) {
        if (error)
            *error = "The racer to modify is no longer in the list";
        return false;
    }
    std::vector<std::string> names = m_names;
    names[index] = name;
    return Replace(std::move(names), error);
}

bool RosterEditor::Delete(size_t index, std::string* error) {
    if (RosterCut(error))
        return false;
    if (index >= m_names.size()) {
        if (error)
            *error = "The racer to delete is no longer in the list";
        return false;
    }
    std::vector<std::string> names = m_names;
    names.erase(names.begin() + static_cast<std::ptrdiff_t>(index));
    return Replace(std::move(names), error);
}

RosterEditor::ImportResult RosterEditor::Import(const std::filesystem::path& file,
                                                std::string* error) {
    std::string notice;
    auto names = ReadNameList(file, error, ValueFileText::Utf8WhenValid, &notice);
    if (!names)
        return ImportResult::Unreadable;
    if (!Replace(std::move(*names), error))
        return ImportResult::NotSaved;
    m_notice = std::move(notice);
    m_rosterCut = false; // the roster file now holds every name of the list
    return ImportResult::Imported;
}

bool RosterEditor::Replace(std::vector<std::string> names, std::string* error) {
    if (!WriteRoster(m_folder, names, error))
        return false;
    m_names = std::move(names);
    return true;
}

RacerNameOutcome ConfirmRacerName(RosterEditor& roster, RacerNameMode mode, size_t editIndex,
                                  const std::string& typed, Dialogs& dialogs) {
    const std::string name = RacerNameFromInput(typed);
    if (name.empty())
        return RacerNameOutcome::Empty;
    Message box;
    if (roster.Contains(name)) {
        box.text = name + AlreadyExistsSuffix;
        dialogs.Show(box);
        return RacerNameOutcome::Duplicate;
    }
    std::string error;
    const bool saved = mode == RacerNameMode::Add ? roster.Add(name, &error)
                                                  : roster.Modify(editIndex, name, &error);
    if (saved)
        return RacerNameOutcome::Saved;
    box.text = error;
    dialogs.Show(box);
    return RacerNameOutcome::Failed;
}

} // namespace kesto
