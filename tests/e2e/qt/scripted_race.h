#pragma once
// The race the tests of a killed and restarted timer run: a club folder for a
// lap race of a few named cars on the COM1 link, and a scripted race whose
// passings stay well apart, either played by decoder-sim (--script) or written
// by the test itself to the decoder's end of a pseudo-terminal.

#include "tools/decoder-sim/passing_plan.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kesto::e2e {

inline constexpr int ScriptedCars = 4;
inline const std::array<std::string, ScriptedCars> ScriptedRacers = {"Ann", "Bob", "Cid", "Dee"};

// Car c passes first at 0.3 s * c, then laps steadily at 2.4 s + 0.03 s per
// ID, two passings more than a race of `laps` laps needs (they race on past
// the flag). Passings stay at least 0.3 s apart, so no flag or close depends
// on which tick reads a line; after the third passing of every car comes the
// widest gap (1.32 s).
std::vector<sim::Passing> ScriptedRace(int laps);

// The passings in decoder-sim's script format, "seconds id" per line.
void WriteScript(const std::filesystem::path& path, const std::vector<sim::Passing>& passings);

// The decoder's lines after `fromMs` up to and including `toMs`, as
// decoder-sim sends them: a clock line every whole second, each passing before
// the clock line of the second it falls in.
std::string DecoderLinesBetween(const std::vector<sim::Passing>& passings, int64_t fromMs,
                                int64_t toMs);

// Port 1 (the COM1 link), minimum lap 1 s, no start delay, the race begins
// with lap 1, the scripted racers named, a race of `laps` laps, the sound
// folder as installed (unless the folder has one). Fails the test (fatally) when a file cannot be
// written.
void WriteClubFolder(const std::filesystem::path& folder, int laps);

} // namespace kesto::e2e
