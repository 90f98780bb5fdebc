#include "display/name_choice.h"

#include <exception>

namespace kesto {

namespace {

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

NameChoice::NameChoice(RaceContext& ctx) : m_ctx(ctx) {
    m_selected.fill(-1);
}

void NameChoice::SetEntries(std::vector<std::string> entries) {
    m_entries = std::move(entries);
    m_selected.fill(m_entries.empty() ? -1 : 0);
}

int NameChoice::Selected(int row) const {
    return IsValidId(row) ? m_selected[row] : -1;
}

bool NameChoice::lblName_Click(int row, const std::string& nameCellText) {
    if (!IsValidId(row))
        return false;
    if (m_openRow != row)
        m_openRow = 0;
    const RaceState& state = m_ctx.state;
    const bool idle = !state.TimerEnabled && state.Button == StartButton::Start;
    if (!idle && !state.PracticeMode)
        return false;

    const std::string shown = TrimBlanks(nameCellText);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i].empty() && m_entries[i] == shown) {
            m_selected[row] = static_cast<int>(i);
            m_openRow = row;
            return true;
        }
    }
    if (!m_entries.empty())
        m_selected[row] = static_cast<int>(m_entries.size()) - 1;
    const bool wasOpen = m_openRow == row;
    m_openRow = row;
    return !wasOpen;
}

std::optional<std::string> NameChoice::Select_Name_Click(int row, int entry) {
    if (!IsValidId(row) || row != m_openRow || entry < 0 ||
        entry >= static_cast<int>(m_entries.size()))
        return std::nullopt;
    try {
        m_selected[row] = entry;
        const std::string caption = " " + m_entries[entry];
        const std::string name = TrimBlanks(caption);
        // Recorded before anyone sees it, as every change of the race.
        m_ctx.Journal().Record(JournalEvent::NameChosen(row, name));
        m_ctx.state.Names.IdName[row - 1] = name;
        m_ctx.state.Names.NamedId[row - 1] = static_cast<int16_t>(row);
        return caption;
    } catch (const std::exception& error) {
        m_ctx.dialogs.Show(
            Message{"", error.what(), MessageIcon::None, MessageButtons::Ok, MessageAnswer::Ok});
        return std::nullopt;
    }
}

void NameChoice::Select_Name_LostFocus(int row) {
    if (row == m_openRow)
        m_openRow = 0;
}

} // namespace kesto
