#pragma once
// The printer as the printouts see it: landscape pages of text placed at tab
// columns. A tab column is a character position of the current font counted
// from 1. Printing at column n moves to column n of the current line, or of
// the next line when the print position is already past n, and prints the
// text there; the line ends after the text unless the item continues it.
// Every operation answers false when the printer fails; the printout then
// stops and tells the user.

#include <string>

namespace kesto {

class Printer {
public:
    virtual ~Printer() = default;
    virtual bool SetLandscape() = 0;
    virtual bool SetFontSize(int points) = 0;
    virtual bool PrintAt(int column, const std::string& text, bool continueLine) = 0;
    // Ends the current line; on a fresh line, prints an empty one.
    virtual bool EndLine() = 0;
    // A landscape page of its own after the text, holding an SVG picture
    // scaled to fit it (the charts of the race).
    virtual bool PrintPicturePage(const std::string& svg) = 0;
    // Sends the pages to the printer.
    virtual bool EndDocument() = 0;
};

} // namespace kesto
