#include "engine/race_journal.h"

namespace kesto {

RaceJournal& NoRaceJournal() {
    static RaceJournal none;
    return none;
}

} // namespace kesto
