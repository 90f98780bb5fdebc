#pragma once
// What the live board answers to a request, decided from its method and path
// alone: a fixed list of exact paths (pages, their script and style, the JSON
// API, the live updates' WebSocket and the result downloads). Nothing is ever
// looked up on disk, so no request can name a file or list a folder. Every
// request that is not a plain GET of a known path gets an error status.

#include <string>
#include <string_view>

namespace kesto {

enum class WebResource {
    None,          // an error: see the status
    BoardPage,     // the live board (a phone held upright gets its own layout)
    TvPage,        // the live board in large type for a TV across the room
    DriverPage,    // one car, big
    RaceResults,   // the last closed race: summary and lap table
    OpenedResults, // the result file opened in the viewers
    Standings,     // the race meeting's standings and next heat, while one is open
    Script,
    Style,
    ApiBoard,
    ApiResults,
    LiveUpdates, // the WebSocket that pushes the board
    Download,    // a result file: see `download`
};

enum class WebMethod { Get, Head, Other };

struct WebRoute {
    int status = 200; // 200, or the error to answer with
    WebResource resource = WebResource::None;
    std::string download; // "race/summary.txt" and the like, for Download
};

inline constexpr size_t MaxPathLength = 256;

// `path` is the request's path without the query; `upgrade` tells a WebSocket
// handshake. 405 for another method than GET, 414 for an overlong path, 400
// for a path with characters or steps no page has ("..", "//", "%", "\\"),
// 404 for an unknown path, 426 for the live updates without a handshake and
// 400 for a handshake anywhere else.
WebRoute RouteRequest(WebMethod method, std::string_view path, bool upgrade);

// The downloads a result set may offer, by name ("summary.txt", ...).
inline constexpr const char* DownloadNames[] = {"summary.txt", "laps.txt", "summary.pdf",
                                                "laps.pdf"};

// The content type of a download by its name's ending.
std::string DownloadContentType(std::string_view name);

} // namespace kesto
