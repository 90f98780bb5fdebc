// The race meeting on the live board: the standings page built from plain
// tables, the next heat on it and in the board's JSON, hostile names escaped,
// and nothing at all while no meeting is open.
#include "engine/race_state.h"
#include "web/board_document.h"
#include "web/request_rules.h"
#include "web/standings_page.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kesto {
namespace {

StandingsBoard ClubNight(const std::string& name) {
    StandingsBoard board;
    board.title = "Club Night, 2026-12-08";
    board.notes = {"Heats: 5 Minute Race"};
    board.tables = {{"Qualifying",
                     {"Pos", "Name", "Laps", "Time"},
                     {{"1", name, "26", "10:00.123"}, {"2", "Jo", "25", "9:59.000"}}}};
    board.nextHeat = HeatCallUp{"Heat 3", {{2, name}, {5, "Jo"}}};
    return board;
}

TEST(StandingsPage, TheTablesRowsAndTheNextHeatOnTheirIds) {
    const StandingsBoard board = ClubNight("Sam");
    const std::string page = StandingsPageHtml(&board);
    EXPECT_NE(page.find("<h1 id=\"title\">Club Night, 2026-12-08</h1>"), std::string::npos);
    EXPECT_NE(page.find("<h2>Qualifying</h2>"), std::string::npos);
    EXPECT_NE(page.find("<tr><th>Pos</th><th>Name</th><th>Laps</th><th>Time</th></tr>"),
              std::string::npos);
    EXPECT_NE(page.find("<tr><td>1</td><td>Sam</td><td>26</td><td>10:00.123</td></tr><tr><td>2"),
              std::string::npos);
    EXPECT_NE(page.find("Next heat: <span id=\"nextHeatName\">Heat 3</span>"), std::string::npos);
    EXPECT_NE(page.find("<li><span class=\"id\">2</span> Sam</li><li><span class=\"id\">5</span> "
                        "Jo</li>"),
              std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos); // works without script
    EXPECT_EQ(RouteRequest(WebMethod::Get, StandingsAddress, false).resource,
              WebResource::Standings);

    // On the board: where the standings are and the call-up, fields added only.
    RaceState state;
    BoardDocument document;
    const auto json = nlohmann::json::parse(document.Build(state, ScreenShown{}, &board));
    EXPECT_EQ(json["meeting"]["standings"], "/standings");
    EXPECT_EQ(json["meeting"]["nextHeat"],
              nlohmann::json::parse(R"({"name": "Heat 3", "racers": [{"id": 2, "name": "Sam"},
                                        {"id": 5, "name": "Jo"}]})"));
    EXPECT_EQ(json["cars"].size(), 14u);
}

TEST(StandingsPage, HostileNamesAreEscapedEverywhere) {
    StandingsBoard board = ClubNight("<script>alert('x')</script>&\"");
    board.title = "<b>Night</b>";
    board.tables[0].title = "<i>";
    board.nextHeat->name = "<Heat>";
    const std::string page = StandingsPageHtml(&board);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("<i>"), std::string::npos);
    EXPECT_EQ(page.find("<Heat>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;&quot;"),
              std::string::npos);
}

TEST(StandingsPage, NoMeetingNoPageAndTheBoardAsItWas) {
    EXPECT_EQ(StandingsPageHtml(nullptr), "");
    RaceState state;
    BoardDocument document;
    const std::string withNone = document.Build(state, ScreenShown{});
    EXPECT_FALSE(nlohmann::json::parse(withNone).contains("meeting"));
    EXPECT_EQ(document.Build(state, ScreenShown{}, nullptr), withNone);
}

} // namespace
} // namespace kesto
