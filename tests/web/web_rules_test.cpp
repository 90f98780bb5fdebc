// What the live board answers by method and path, its connection limits,
// its settings file and the results pages.
#include "support/temp_folder.h"
#include "web/client_limits.h"
#include "web/live_board_settings.h"
#include "web/request_rules.h"
#include "web/results_document.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kesto {
namespace {

int Status(std::string_view path, WebMethod method = WebMethod::Get, bool upgrade = false) {
    return RouteRequest(method, path, upgrade).status;
}

TEST(WebRoutes, ThePagesTheApiAndTheDownloadsByExactPath) {
    EXPECT_EQ(RouteRequest(WebMethod::Get, "/", false).resource, WebResource::BoardPage);
    EXPECT_EQ(RouteRequest(WebMethod::Get, "/tv", false).resource, WebResource::TvPage);
    EXPECT_EQ(RouteRequest(WebMethod::Get, "/driver", false).resource, WebResource::DriverPage);
    EXPECT_EQ(RouteRequest(WebMethod::Get, "/api/board", false).resource, WebResource::ApiBoard);
    EXPECT_EQ(RouteRequest(WebMethod::Get, "/live", true).resource, WebResource::LiveUpdates);
    const WebRoute download = RouteRequest(WebMethod::Get, "/results/race/summary.pdf", false);
    EXPECT_EQ(download.resource, WebResource::Download);
    EXPECT_EQ(download.download, "race/summary.pdf");
    EXPECT_EQ(DownloadContentType("summary.pdf"), "application/pdf");
    EXPECT_EQ(DownloadContentType("laps.txt"), "text/plain; charset=utf-8");
}

TEST(WebRoutes, BadMethodsAreRefused) {
    for (WebMethod method : {WebMethod::Head, WebMethod::Other})
        EXPECT_EQ(Status("/", method), 405);
}

TEST(WebRoutes, PathTricksAreBadRequestsAndUnknownPathsAreNotFound) {
    for (const char* path : {"/../etc/passwd", "/results/../board.js", "/results//race", "/%2e%2e/",
                             "/a\\b", "relative", "", "/board.js?x", "/ok\x01"})
        EXPECT_EQ(Status(path), 400) << path;
    EXPECT_EQ(Status("/" + std::string(MaxPathLength, 'a')), 414);
    for (const char* path : {"/etc/passwd", "/results/race/other.txt", "/results/race/",
                             "/favicon.ico", "/board.js.bak"})
        EXPECT_EQ(Status(path), 404) << path;
}

TEST(WebRoutes, TheLiveUpdatesNeedAHandshakeAndNothingElseTakesOne) {
    EXPECT_EQ(Status("/live"), 426);
    EXPECT_EQ(Status("/", WebMethod::Get, true), 400);
}

TEST(WebLimitsRules, ConnectionsThatOverrunOrStallAreClosed) {
    const WebLimits limits;
    HttpConnection http;
    EXPECT_EQ(JudgeHttpConnection(http, limits.keepAliveMs, limits), Verdict::Keep);
    EXPECT_EQ(JudgeHttpConnection(http, limits.keepAliveMs + 1, limits), Verdict::Close);
    http.requestStartedMs = 5000; // a request trickling in
    http.bytesSinceAnswer = 10;
    EXPECT_EQ(JudgeHttpConnection(http, 5000 + limits.requestWithinMs, limits), Verdict::Keep);
    EXPECT_EQ(JudgeHttpConnection(http, 5001 + limits.requestWithinMs, limits), Verdict::Close);
    http.bytesSinceAnswer = limits.maxRequestBytes + 1;
    EXPECT_EQ(JudgeHttpConnection(http, 5000, limits), Verdict::Close);

    BrowserConnection browser{1000, -1};
    EXPECT_EQ(JudgeBrowser(browser, 1000 + limits.pongWithinMs, limits), Verdict::Keep);
    EXPECT_EQ(JudgeBrowser(browser, 1001 + limits.pongWithinMs, limits), Verdict::Close);
    browser.behindSinceMs = 2000;
    EXPECT_EQ(JudgeBrowser(browser, 2001 + limits.behindWithinMs, limits), Verdict::Close);
    EXPECT_FALSE(HeadersTooLarge(limits.maxHeaderBytes, limits));
    EXPECT_TRUE(HeadersTooLarge(limits.maxHeaderBytes + 1, limits));
    EXPECT_TRUE(MaySendBoard(limits.maxQueuedBoardBytes, limits));
    EXPECT_FALSE(MaySendBoard(limits.maxQueuedBoardBytes + 1, limits));
    EXPECT_NE(BoardFullText(250).find("full: 250 browsers"), std::string::npos);
}

class LiveBoardFile : public test::TempFolderTest {};

TEST_F(LiveBoardFile, OffOnPort8080UntilChosenAndWrittenWhole) {
    EXPECT_EQ(ReadLiveBoardSettings(folder), LiveBoardSettings{});
    EXPECT_FALSE(ReadLiveBoardSettings(folder).on);
    ASSERT_TRUE(WriteLiveBoardSettings(folder, {true, 8090}, nullptr));
    EXPECT_EQ(ReadBytes(folder / LiveBoardFileName), "On=1\r\nPort=8090\r\n");
    EXPECT_EQ(ReadLiveBoardSettings(folder), (LiveBoardSettings{true, 8090}));
    EXPECT_EQ(ParseLiveBoardSettings("On=2\nPort=80\nPort=x\n"), LiveBoardSettings{});
}

TEST(ResultsPage, TablesEscapedWithTheirColoursTheChartsAndTheDownloads) {
    ResultSet set;
    set.title = "5 Lap Race";
    auto cell = [](std::string text, std::string background = {}) {
        return ResultCell{std::move(text), std::move(background), {}};
    };
    set.summary =
        ResultTable{1, {{cell("Pos "), cell("Name")}, {cell("1"), cell("<Jo & Al>", "#ff0000")}}};
    set.laps = ResultTable{1, {{cell("Laps")}, {cell("1")}, {cell("")}, {cell("")}}};
    DropEmptyTrailingRows(*set.laps);
    set.downloads.push_back({"summary.txt", "text"});
    set.charts = {{"Lap Times", "<svg>ab</svg>"}, {"Lap Chart", "<svg>abc</svg>"}};

    const std::string html = ResultsPageHtml(&set, false);
    EXPECT_NE(html.find("<img alt=\"Lap Times\" src=\"data:image/svg+xml;base64,"
                        "PHN2Zz5hYjwvc3ZnPg==\">"),
              std::string::npos);
    EXPECT_NE(html.find("<img alt=\"Lap Chart\" src=\"data:image/svg+xml;base64,"
                        "PHN2Zz5hYmM8L3N2Zz4=\">"),
              std::string::npos);
    EXPECT_NE(html.find("<tr class=\"head\"><th>Pos </th><th>Name</th></tr>"), std::string::npos);
    EXPECT_NE(html.find("<td style=\"background:#ff0000;\">&lt;Jo &amp; Al&gt;</td>"),
              std::string::npos);
    EXPECT_NE(html.find("href=\"/results/race/summary.txt\""), std::string::npos);
    EXPECT_EQ(set.laps->rows.size(), 2u);
    EXPECT_NE(ResultsPageHtml(nullptr, true).find("No result file is open"), std::string::npos);

    const auto json = nlohmann::json::parse(ResultsJson(&set, nullptr));
    EXPECT_EQ(json["race"]["summary"]["rows"][1][1]["text"], "<Jo & Al>");
    EXPECT_EQ(json["race"]["downloads"][0], "/results/race/summary.txt");
    EXPECT_TRUE(json["opened"].is_null());
}

} // namespace
} // namespace kesto
