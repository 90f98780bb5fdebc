#include "web/standings_page.h"

#include "web/results_document.h"

namespace kesto {
namespace {

std::string Cells(const std::vector<std::string>& cells, const char* tag) {
    std::string html = "<tr>";
    for (const std::string& cell : cells)
        html += std::string("<") + tag + ">" + HtmlEscaped(cell) + "</" + tag + ">";
    return html + "</tr>";
}

std::string TableHtml(const StandingsTable& table) {
    std::string html = "<h2>" + HtmlEscaped(table.title) +
                       "</h2><div class=\"scroll\"><table class=\"standings\"><thead>" +
                       Cells(table.header, "th") + "</thead><tbody>";
    for (const auto& row : table.rows)
        html += Cells(row, "td");
    return html + "</tbody></table></div>";
}

std::string CallUpHtml(const HeatCallUp& heat) {
    std::string html = "<section id=\"nextHeat\"><h2>Next heat: <span id=\"nextHeatName\">" +
                       HtmlEscaped(heat.name) + "</span></h2><ol class=\"callup\">";
    for (const CalledRacer& racer : heat.racers)
        html += "<li><span class=\"id\">" + std::to_string(racer.id) + "</span> " +
                HtmlEscaped(racer.name) + "</li>";
    return html + "</ol></section>";
}

} // namespace

std::string StandingsPageHtml(const StandingsBoard* board) {
    if (!board)
        return {};
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
        "<meta http-equiv=\"refresh\" content=\"" +
        std::to_string(StandingsReloadSeconds) +
        "\"><title>Standings - Kesto Timer</title><link rel=\"stylesheet\" href=\"/board.css\">"
        "</head><body class=\"standings\"><nav><a href=\"/\">Live board</a> <a "
        "href=\"/tv\">TV</a> <a href=\"/results\">Last race</a></nav><h1 id=\"title\">" +
        HtmlEscaped(board->title) + "</h1>";
    for (const std::string& note : board->notes)
        html += "<p class=\"note\">" + HtmlEscaped(note) + "</p>";
    if (board->nextHeat)
        html += CallUpHtml(*board->nextHeat);
    for (const StandingsTable& table : board->tables)
        html += TableHtml(table);
    return html + "</body></html>\n";
}

} // namespace kesto
