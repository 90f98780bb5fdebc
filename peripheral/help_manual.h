#pragma once
// The help file "Kestotimer.HLP" in the program folder is an HTML manual. This
// reads it into what the help window offers: the contents (its headings), the
// index (the links of its "index" section) and a word search over its
// sections. No Qt here, so the rules are tested on their own.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

// The help file's fixed name in the program folder (letter case ignored).
inline constexpr const char* HelpFileName = "Kestotimer.HLP";

// The anchor of the manual's index section.
inline constexpr const char* HelpIndexAnchor = "index";

struct HelpSection {
    std::string anchor; // the heading's id
    std::string title;  // the heading's text
    int level = 1;      // 1 for <h1>, 2 for <h2>, 3 for <h3>
    std::string text;   // the plain text from this heading to the next
};

struct HelpIndexEntry {
    std::string keyword;
    std::string anchor; // the section it leads to
};

struct HelpManual {
    std::string title; // <title>
    std::vector<HelpSection> sections;
    std::vector<HelpIndexEntry> index; // in the file's order
};

// Reads the headings with an id (h1 to h3) as sections and the links of the
// section with id "index" as index entries.
HelpManual ParseHelpManual(std::string_view html);

// The sections (positions in manual.sections, in manual order) in which every
// word of `query` begins a word of the heading or the text, letter case
// ignored ("sound" finds "Sounds"). The index section is not searched. An
// empty query finds nothing.
std::vector<std::size_t> SearchHelp(const HelpManual& manual, std::string_view query);

// The position of the section with `anchor`, or manual.sections.size().
std::size_t FindSection(const HelpManual& manual, std::string_view anchor);

} // namespace kesto
