#pragma once
// The race meeting on the live board: its standings as a page of their own
// ("/standings", plain HTML that works without script, refreshing itself
// between heats) and the next heat's call-up. The tables come in ready made
// as plain texts (the standings report's rows, copied by the program), so this
// file needs nothing of the meeting.

#include <optional>
#include <string>
#include <vector>

namespace kesto {

struct StandingsTable {
    std::string title; // "Qualifying", "Finals: 5 Minute Race, ..."
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

struct CalledRacer {
    int id = 0; // the decoder ID (transponder or lane) the racer runs on
    std::string name;
};

// The heat to line up for next: "Heat 3" or "A Main" and its racers by ID.
struct HeatCallUp {
    std::string name;
    std::vector<CalledRacer> racers;
};

struct StandingsBoard {
    std::string title;              // "Club Night, 2026-12-08"
    std::vector<std::string> notes; // the heat format, the scoring rule
    std::vector<StandingsTable> tables;
    std::optional<HeatCallUp> nextHeat;
};

inline constexpr const char* StandingsAddress = "/standings";
// Between heats a phone or TV left on the page reloads it this often.
inline constexpr int StandingsReloadSeconds = 15;

// The standings page; empty while no meeting is open (the address is then
// unknown, as any other).
std::string StandingsPageHtml(const StandingsBoard* board);

} // namespace kesto
