#pragma once
// A printer that lays the printout out as lines of characters, one character
// per tab column, so a test reads a printout as the paper would show it.

#include "base/printer.h"

#include <string>
#include <vector>

namespace kesto::test {

class RecordingPrinter final : public kesto::Printer {
public:
    bool SetLandscape() override;
    bool SetFontSize(int points) override;
    bool PrintAt(int column, const std::string& text, bool continueLine) override;
    bool EndLine() override;
    bool EndDocument() override;

    // The 1-based column where `text` starts on line `line`, 0 when not there.
    int ColumnOf(int line, const std::string& text) const;
    // The first line holding `text`, -1 when none.
    int LineWith(const std::string& text) const;

    std::vector<std::string> lines{std::string()};
    std::vector<int> lineFontSizes{0};
    bool landscape = false;
    bool ended = false;
    int fontSize = 0;
    int calls = 0;
    int failAtCall = 0; // > 0: that call (1-based) and all after it fail

private:
    bool Call();
    void NewLine();
    int m_position = 0; // characters on the current line (UTF-8 aware)
};

} // namespace kesto::test
