#include "web/request_rules.h"

#include <array>
#include <utility>

namespace kesto {

namespace {

constexpr std::array<std::pair<std::string_view, WebResource>, 12> Pages = {{
    {"/", WebResource::BoardPage},
    {"/board", WebResource::BoardPage},
    {"/tv", WebResource::TvPage},
    {"/driver", WebResource::DriverPage},
    {"/results", WebResource::RaceResults},
    {"/results/opened", WebResource::OpenedResults},
    {"/standings", WebResource::Standings},
    {"/board.js", WebResource::Script},
    {"/board.css", WebResource::Style},
    {"/api/board", WebResource::ApiBoard},
    {"/api/results", WebResource::ApiResults},
    {"/live", WebResource::LiveUpdates},
}};

bool PlainPathCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
           c == '.' || c == '-' || c == '_';
}

bool PlainPath(std::string_view path) {
    if (path.empty() || path.front() != '/')
        return false;
    for (char c : path) {
        if (!PlainPathCharacter(c))
            return false;
    }
    return path.find("..") == std::string_view::npos && path.find("//") == std::string_view::npos;
}

WebRoute Error(int status) {
    WebRoute route;
    route.status = status;
    return route;
}

} // namespace

WebRoute RouteRequest(WebMethod method, std::string_view path, bool upgrade) {
    if (method != WebMethod::Get)
        return Error(405);
    if (path.size() > MaxPathLength)
        return Error(414);
    if (!PlainPath(path))
        return Error(400);
    WebRoute route;
    for (const auto& [page, resource] : Pages) {
        if (page == path)
            route.resource = resource;
    }
    for (const char* set : {"/results/race/", "/results/opened/"}) {
        const std::string_view prefix(set);
        if (path.substr(0, prefix.size()) != prefix)
            continue;
        for (const char* name : DownloadNames) {
            if (path.substr(prefix.size()) == name) {
                route.resource = WebResource::Download;
                route.download = std::string(path.substr(std::string_view("/results/").size()));
            }
        }
    }
    if (route.resource == WebResource::None)
        return Error(404);
    if (route.resource == WebResource::LiveUpdates && !upgrade)
        return Error(426);
    if (route.resource != WebResource::LiveUpdates && upgrade)
        return Error(400);
    return route;
}

std::string DownloadContentType(std::string_view name) {
    if (name.size() >= 4 && name.substr(name.size() - 4) == ".pdf")
        return "application/pdf";
    return "text/plain; charset=utf-8";
}

} // namespace kesto
