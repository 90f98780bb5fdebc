#include "support/recording_printer.h"

#include "base/report_text.h"

namespace kesto::test {

bool RecordingPrinter::Call() {
    ++calls;
    return failAtCall == 0 || calls < failAtCall;
}

void RecordingPrinter::NewLine() {
    lines.emplace_back();
    lineFontSizes.push_back(fontSize);
    m_position = 0;
}

bool RecordingPrinter::SetLandscape() {
    if (!Call())
        return false;
    landscape = true;
    return true;
}

bool RecordingPrinter::SetFontSize(int points) {
    if (!Call())
        return false;
    fontSize = points;
    if (m_position == 0)
        lineFontSizes.back() = points;
    return true;
}

bool RecordingPrinter::PrintAt(int column, const std::string& text, bool continueLine) {
    if (!Call())
        return false;
    if (m_position > column - 1)
        NewLine();
    if (m_position < column - 1) {
        lines.back().append(static_cast<std::size_t>(column - 1 - m_position), ' ');
        m_position = column - 1;
    }
    lines.back() += text;
    m_position += static_cast<int>(CharCount(text));
    if (!continueLine)
        NewLine();
    return true;
}

bool RecordingPrinter::EndLine() {
    if (!Call())
        return false;
    NewLine();
    return true;
}

bool RecordingPrinter::PrintPicturePage(const std::string& svg) {
    if (!Call())
        return false;
    pictures.push_back(svg);
    return true;
}

bool RecordingPrinter::EndDocument() {
    if (!Call())
        return false;
    ended = true;
    return true;
}

int RecordingPrinter::ColumnOf(int line, const std::string& text) const {
    if (line < 0 || line >= static_cast<int>(lines.size()))
        return 0;
    auto at = lines[static_cast<std::size_t>(line)].find(text);
    if (at == std::string::npos)
        return 0;
    return static_cast<int>(CharCount(lines[static_cast<std::size_t>(line)].substr(0, at))) + 1;
}

int RecordingPrinter::LineWith(const std::string& text) const {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

} // namespace kesto::test
