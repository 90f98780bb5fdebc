#pragma once
// Choosing a racer's name for a row of the race screen: the one list of names
// all 14 rows choose from (the roster, then "Empty"), which row's list is
// open and which entry it shows, and what a choice writes (the row's name,
// the racer names kept with the ID, the journal). The window shows the open
// list over the name cell and forwards the operator's clicks here.

#include "engine/race_context.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

class NameChoice final {
public:
    explicit NameChoice(RaceContext& ctx);

    // The entries of every row's list, shared by all 14 rows.
    const std::vector<std::string>& Entries() const { return m_entries; }
    void SetEntries(std::vector<std::string> entries);

    // The row whose list is shown (1..14), 0 when none is.
    int OpenRow() const { return m_openRow; }
    // The entry row k's list shows, -1 for none.
    int Selected(int row) const;

    // lblName_Click: the other lists close. With the clock stopped and the
    // screen idle, or in practice, the list selects the entry equal to the
    // name cell's text (blanks trimmed), else its last entry. True when the
    // row's list is to be shown and focused: always on a match, otherwise
    // only if it was not open already.
    bool lblName_Click(int row, const std::string& nameCellText);

    // Select_Name_Click: the operator chose `entry` of row k's list. Only
    // while that list is open: ID k takes the name (NamedId k = k) and the
    // returned caption goes to the name cell. A failure is shown in a
    // message box and nothing is returned.
    std::optional<std::string> Select_Name_Click(int row, int entry);

    // Select_Name_LostFocus: the row's list closes.
    void Select_Name_LostFocus(int row);
    // CloseComboNames: every list closes.
    void CloseComboNames() { m_openRow = 0; }

private:
    RaceContext& m_ctx;
    std::vector<std::string> m_entries;
    int m_openRow = 0;
    std::array<int, MaxCarIds + 1> m_selected{};
};

} // namespace kesto
