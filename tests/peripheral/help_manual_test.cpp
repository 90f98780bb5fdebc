// Reading the help manual: contents from its headings, the index section,
// the word search; and the shipped manual itself holds together.
#include "peripheral/help_manual.h"

#include "engine/open_com_port.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>

namespace kesto {
namespace {

const char* SmallManual = R"(<!DOCTYPE html>
<html><head><title>Test &amp; Help</title><style>h2 { color: red; }</style></head>
<body>
<h1 id="top">Kesto  Help</h1>
<p>Intro text.</p>
<h2 id="port">Port numbers</h2>
<p>Use the <b>dialout</b> group &mdash; or else.</p>
<!-- <h2 id="hidden">Commented out</h2> -->
<h3 id="links">Links</h3>
<p>A <code>COM3</code> link in the program folder.</p>
<h2 id="sounds">Sounds</h2>
<p>The LmSound folder holds wave files.<br>Replace a recording.</p>
<h2 id="index">Index</h2>
<ul><li><a href="#port">Serial port</a></li><li><a href="#sounds">Wave
files</a></li></ul>
</body></html>)";

TEST(ParseHelpManual, ReadsTheHeadingsAsSections) {
    HelpManual manual = ParseHelpManual(SmallManual);
    EXPECT_EQ(manual.title, "Test & Help");
    ASSERT_EQ(manual.sections.size(), 5u);
    EXPECT_EQ(manual.sections[0].anchor, "top");
    EXPECT_EQ(manual.sections[0].title, "Kesto Help");
    EXPECT_EQ(manual.sections[0].level, 1);
    EXPECT_EQ(manual.sections[1].title, "Port numbers");
    EXPECT_EQ(manual.sections[1].level, 2);
    EXPECT_EQ(manual.sections[1].text, "Use the dialout group \u2014 or else.");
    EXPECT_EQ(manual.sections[2].anchor, "links");
    EXPECT_EQ(manual.sections[2].level, 3);
    EXPECT_EQ(manual.sections[3].text, "The LmSound folder holds wave files. Replace a recording.");
}

TEST(ParseHelpManual, ReadsTheLinksOfTheIndexSection) {
    HelpManual manual = ParseHelpManual(SmallManual);
    ASSERT_EQ(manual.index.size(), 2u);
    EXPECT_EQ(manual.index[0].keyword, "Serial port");
    EXPECT_EQ(manual.index[0].anchor, "port");
    EXPECT_EQ(manual.index[1].keyword, "Wave files");
    EXPECT_EQ(manual.index[1].anchor, "sounds");
}

TEST(SearchHelp, FindsEverySectionHoldingAllTheWordsIgnoringCase) {
    HelpManual manual = ParseHelpManual(SmallManual);
    EXPECT_EQ(SearchHelp(manual, "DIALOUT"), std::vector<std::size_t>{1});
    EXPECT_EQ(SearchHelp(manual, "folder"), (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(SearchHelp(manual, "folder  wave"), std::vector<std::size_t>{3});
    // Words match at their start: "sound" finds "Sounds", "older" finds nothing.
    EXPECT_EQ(SearchHelp(manual, "sound"), std::vector<std::size_t>{3});
    EXPECT_TRUE(SearchHelp(manual, "older").empty());
    // The index is not a topic of its own, nor are comments.
    EXPECT_TRUE(SearchHelp(manual, "serial").empty());
    EXPECT_TRUE(SearchHelp(manual, "commented").empty());
    EXPECT_TRUE(SearchHelp(manual, "   ").empty());
}

// The manual shipped beside the program.
std::string ShippedManual() {
    auto file = std::filesystem::path(KESTO_SOURCE_DIR) / "assets/Kestotimer.HLP";
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ShippedManual, EveryLinkAndIndexEntryLeadsToASection) {
    std::string html = ShippedManual();
    ASSERT_FALSE(html.empty());
    HelpManual manual = ParseHelpManual(html);
    EXPECT_EQ(manual.title, "Kesto Timer Help");
    std::set<std::string> anchors;
    for (const auto& section : manual.sections)
        EXPECT_TRUE(anchors.insert(section.anchor).second) << "twice: " << section.anchor;
    EXPECT_GE(manual.index.size(), 40u);
    for (const auto& entry : manual.index)
        EXPECT_TRUE(anchors.count(entry.anchor)) << entry.keyword << " -> " << entry.anchor;
    std::regex link(R"(href="#([^"]+)\")");
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
        EXPECT_TRUE(anchors.count((*it)[1].str())) << (*it)[1].str();
}

TEST(ShippedManual, CoversWhatTheVolunteersAskAbout) {
    HelpManual manual = ParseHelpManual(ShippedManual());
    for (const char* word : {"dialout", "ttyUSB", "LMSounds.dat", "Abort", "minimum lap time",
                             "PDF", "Com Port ERROR!", "Demo Mode"}) {
        EXPECT_FALSE(SearchHelp(manual, word).empty()) << word;
    }
}

// What the first run does (seeded folder, port 1 tried as the program starts,
// the port question before the race screen, "No" for the demo race) is what
// the manual and the README tell a newcomer.
TEST(ShippedManual, TheFirstRunIsToldAsTheProgramRunsIt) {
    const std::string portError(ComPortErrorText, std::string_view(ComPortErrorText).find('\n'));
    HelpManual manual = ParseHelpManual(ShippedManual());
    const std::size_t firstRun = FindSection(manual, "first-run");
    ASSERT_LT(firstRun, manual.sections.size());
    const std::string& told = manual.sections[firstRun].text;
    for (const std::string& words :
         {portError, std::string("port 1"), std::string("before the race screen"),
          std::string("Demo - 10 Lap Race")})
        EXPECT_NE(told.find(words), std::string::npos) << words;
    for (const HelpSection& section : manual.sections)
        EXPECT_EQ(section.text.find("very first run"), std::string::npos) << section.anchor;

    std::ifstream in(std::filesystem::path(KESTO_SOURCE_DIR) / "README.md", std::ios::binary);
    const std::string readme((std::istreambuf_iterator<char>(in)), {});
    const std::size_t start = readme.find("## The first run");
    ASSERT_NE(start, std::string::npos);
    const std::string section = readme.substr(start, readme.find("\n## ", start + 1) - start);
    EXPECT_NE(section.find(portError), std::string::npos);
    EXPECT_NE(section.find("before the race screen"), std::string::npos);
    EXPECT_EQ(section.find("when Start"), std::string::npos);
}

} // namespace
} // namespace kesto
