#pragma once
// The offer made at start-up when the program was stopped in the middle of a
// race (a crash, a kill, a power cut): the race found in the journal is told
// to the operator in plain words, then either rebuilt and resumed, or set
// aside so the timer starts as usual. A journal that cannot be read is never
// a reason for the program not to start.

#include "base/dialogs.h"
#include "engine/journal_replay.h"
#include "engine/race_context.h"

#include <filesystem>

namespace kesto {

class JournalFile;
class RaceControl;

inline constexpr const char* ResumeRaceTitle = "Resume Race";

// The lines a damaged journal was read past, in words (empty when none).
std::string JournalDamageText(const JournalDamage& damage);
// A journal that fell behind the race or dropped events, in words (empty when neither).
std::string JournalBehindText(const UnfinishedRace& race);

// What a replay of the race shows of it.
struct ResumeFigures {
    int laps = 0; // laps counted, all cars together
    int cars = 0; // cars with at least one lap
};

ResumeFigures FiguresOf(const RaceState& replayed);

// The question: what was found (format, race time reached, laps, whether the
// race had finished with results not saved, what the journal misses of it)
// and whether to resume. Yes/No, Yes preselected, question icon.
Message ResumeRaceQuestion(const UnfinishedRace& race, const ResumeFigures& figures);

enum class ResumeOutcome {
    NoRace,    // no journal, or nothing in it worth resuming (or it could not be read)
    Resumed,   // the race is back on the screen; timing goes on unless it had closed
    Declined,  // the operator said No: the journal is kept aside as "KestoRace.jnl.old"
    KeptAside, // the journal is too damaged to rebuild its race: told, and kept aside
};

// After the main window's load, with the decoder port as the load left it:
// asks through ctx.dialogs and, on Yes, replays the race into ctx.state,
// appends to the journal from there on and hands the race back to race
// control. Never throws.
ResumeOutcome OfferToResumeRace(RaceContext& ctx, RaceControl& control, JournalFile& journal,
                                const std::filesystem::path& programFolder);

} // namespace kesto
