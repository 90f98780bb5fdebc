#include "web/results_document.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>

namespace kesto {

namespace {

using nlohmann::json;

std::string CellStyle(const ResultCell& cell) {
    std::string style;
    if (!cell.background.empty())
        style += "background:" + cell.background + ";";
    if (!cell.ink.empty())
        style += "color:" + cell.ink + ";";
    return style.empty() ? std::string() : " style=\"" + HtmlEscaped(style) + "\"";
}

std::string TableHtml(const ResultTable& table, const char* id) {
    std::string html =
        "<div class=\"scroll\"><table class=\"grid\" id=\"" + std::string(id) + "\">";
    int row = 0;
    for (const std::vector<ResultCell>& cells : table.rows) {
        const bool header = row++ < table.headerRows;
        html += header ? "<tr class=\"head\">" : "<tr>";
        for (const ResultCell& cell : cells) {
            const char* tag = header ? "th" : "td";
            html += std::string("<") + tag + CellStyle(cell) + ">" + HtmlEscaped(cell.text) + "</" +
                    tag + ">";
        }
        html += "</tr>";
    }
    return html + "</table></div>";
}

json TableJson(const ResultTable& table) {
    json rows = json::array();
    for (const std::vector<ResultCell>& cells : table.rows) {
        json row = json::array();
        for (const ResultCell& cell : cells) {
            json c = {{"text", cell.text}};
            if (!cell.background.empty())
                c["background"] = cell.background;
            if (!cell.ink.empty())
                c["ink"] = cell.ink;
            row.push_back(std::move(c));
        }
        rows.push_back(std::move(row));
    }
    return {{"headerRows", table.headerRows}, {"rows", std::move(rows)}};
}

json SetJson(const ResultSet* set, const char* path) {
    if (!set)
        return nullptr;
    json downloads = json::array();
    for (const ResultDownload& download : set->downloads)
        downloads.push_back(std::string(path) + "/" + download.name);
    return {{"title", set->title},
            {"summary", set->summary ? TableJson(*set->summary) : json(nullptr)},
            {"laps", set->laps ? TableJson(*set->laps) : json(nullptr)},
            {"downloads", std::move(downloads)}};
}

std::string Base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? digits[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

// An <img> with the picture in a data URL: an SVG shown this way runs no
// script and its ids cannot clash with the page's or another chart's.
std::string ChartHtml(const ResultChart& chart) {
    return "<figure class=\"chart\"><img alt=\"" + HtmlEscaped(chart.name) +
           "\" src=\"data:image/svg+xml;base64," + Base64(chart.svg) + "\"></figure>";
}

const char* DownloadLabel(const std::string& name) {
    if (name == "summary.txt")
        return "Summary (text)";
    if (name == "laps.txt")
        return "Lap times (text)";
    if (name == "summary.pdf")
        return "Summary printout (PDF)";
    if (name == "laps.pdf")
        return "Lap times printout (PDF)";
    return "";
}

} // namespace

const ResultDownload* ResultSet::Download(const std::string& name) const {
    for (const ResultDownload& download : downloads) {
        if (download.name == name)
            return &download;
    }
    return nullptr;
}

void DropEmptyTrailingRows(ResultTable& table) {
    while (static_cast<int>(table.rows.size()) > table.headerRows &&
           std::all_of(table.rows.back().begin(), table.rows.back().end(),
                       [](const ResultCell& cell) { return cell.text.empty(); }))
        table.rows.pop_back();
}

std::string HtmlEscaped(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string ResultsPageHtml(const ResultSet* set, bool opened) {
    const char* folder = opened ? "/results/opened" : "/results/race";
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
        "<title>Results - Kesto Timer</title><link rel=\"stylesheet\" href=\"/board.css\">"
        "</head><body class=\"results\"><nav><a href=\"/\">Live board</a> <a href=\"/tv\">TV</a> "
        "<a href=\"/results\">Last race</a> <a href=\"/results/opened\">Opened file</a></nav>";
    if (!set) {
        html += opened ? "<p class=\"none\">No result file is open in the timer.</p>"
                       : "<p class=\"none\">No race has closed since the timer started.</p>";
        return html + "</body></html>\n";
    }
    html += "<h1 id=\"title\">" + HtmlEscaped(set->title) + "</h1>";
    if (set->summary)
        html += "<h2>Summary</h2>" + TableHtml(*set->summary, "summary");
    if (set->laps)
        html += "<h2>Lap Times</h2>" + TableHtml(*set->laps, "laps");
    if (!set->charts.empty()) {
        html += "<h2>Charts</h2><div class=\"charts\" id=\"charts\">";
        for (const ResultChart& chart : set->charts)
            html += ChartHtml(chart);
        html += "</div>";
    }
    if (!set->downloads.empty()) {
        html += "<h2>Downloads</h2><ul class=\"downloads\">";
        for (const ResultDownload& download : set->downloads)
            html += "<li><a href=\"" + std::string(folder) + "/" + HtmlEscaped(download.name) +
                    "\" download>" + DownloadLabel(download.name) + "</a></li>";
        html += "</ul>";
    }
    return html + "</body></html>\n";
}

std::string ResultsJson(const ResultSet* race, const ResultSet* opened) {
    const json results = {{"race", SetJson(race, "/results/race")},
                          {"opened", SetJson(opened, "/results/opened")}};
    return results.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace kesto
