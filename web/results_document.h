#pragma once
// The results the live board serves: the summary and the lap table of the
// last closed race, or of the result file opened in the viewers, as HTML
// tables and as JSON, with the text reports and printouts to download. The
// tables come in as plain cells (the reports' grids, copied by the server's
// side), so this file needs nothing of the reports.

#include <optional>
#include <string>
#include <vector>

namespace kesto {

struct ResultCell {
    std::string text;
    std::string background; // "#rrggbb", or empty for none
    std::string ink;        // text colour "#rrggbb", or empty for the default
};

struct ResultTable {
    int headerRows = 0;
    std::vector<std::vector<ResultCell>> rows;
};

struct ResultDownload {
    std::string name; // one of DownloadNames (web/request_rules.h)
    std::string bytes;
};

// A chart of the race as the timer draws it, an SVG picture.
struct ResultChart {
    std::string name; // "Lap Times" or "Lap Chart"
    std::string svg;
};

struct ResultSet {
    std::string title; // the race format, or the file's name
    std::optional<ResultTable> summary;
    std::optional<ResultTable> laps;
    std::vector<ResultChart> charts; // none for a summary file: it holds no laps
    std::vector<ResultDownload> downloads;

    const ResultDownload* Download(const std::string& name) const;
};

// Rows at the end whose cells are all empty are left out (a lap grid keeps
// at least 20 rows whatever the race ran).
void DropEmptyTrailingRows(ResultTable& table);

// The results page: `set` is null while there is nothing to show. `opened`
// tells which of the two pages it is (the file's, or the last race's). The
// charts come inside the page as pictures (no scripts, nothing to fetch).
std::string ResultsPageHtml(const ResultSet* set, bool opened);

// {"race": ..., "opened": ...}, each null or {"title", "summary", "laps",
// "downloads"}; a table is {"headerRows", "rows": [[{"text", "background"?,
// "ink"?}]]}.
std::string ResultsJson(const ResultSet* race, const ResultSet* opened);

// Text safe inside HTML elements and attribute values.
std::string HtmlEscaped(const std::string& text);

} // namespace kesto
