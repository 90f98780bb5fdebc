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
    bool PrintPicturePage(const std::string& svg) override;
    bool EndDocument() override;

    // The 1-based column where `text` starts on line `line`, 0 when not there.
    int ColumnOf(int line, const std::string& text) const;
    // The first line holding `text`, -1 when none.
    int LineWith(const std::string& text) const;

    std::vector<std::string> lines{std::string()};
    std::vector<int> lineFontSizes{0};
    std::vector<std::string> pictures; // the picture pages, in order
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

// A printer drawing into a recorder the test keeps, for code that owns the
// printers it is given.
class PrinterRef final : public kesto::Printer {
public:
    explicit PrinterRef(RecordingPrinter& target) : m_target(target) {}
    bool SetLandscape() override { return m_target.SetLandscape(); }
    bool SetFontSize(int points) override { return m_target.SetFontSize(points); }
    bool PrintAt(int column, const std::string& text, bool continueLine) override {
        return m_target.PrintAt(column, text, continueLine);
    }
    bool EndLine() override { return m_target.EndLine(); }
    bool PrintPicturePage(const std::string& svg) override {
        return m_target.PrintPicturePage(svg);
    }
    bool EndDocument() override { return m_target.EndDocument(); }

private:
    RecordingPrinter& m_target;
};

} // namespace kesto::test
