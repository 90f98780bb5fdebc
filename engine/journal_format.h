#pragma once
// The race journal's file format: one event per text line, so the file only
// ever grows by whole lines appended at its end. Each line is
//     <sequence> <tag> <field> ... <crc>\n
// with fields separated by one blank, texts escaped (%XX for every byte that
// is not a printable ASCII character other than "%"), and <crc> the CRC-32 of
// everything before the blank ahead of it in 8 lower-case hex digits. The
// first line, sequence 0, names the format and its version; events follow
// numbered from 1. Fields added later go at the end of their line, and a
// reader takes a line without them. A line cut short by a power cut (no line
// feed) ends the journal. A garbled line (checksum wrong) or one out of
// sequence is read past: the numbers of the lines around it tell how many
// events it held.
//
// A "behind" line (JournalEventKind::JournalBehind) is the journal's own note,
// not an event: it carries the number of the event that follows it and does
// not use that number up.

#include "engine/journal_event.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

inline constexpr const char* JournalFormatName = "KestoRaceJournal";
inline constexpr int JournalFormatVersion = 1;

// The first line of every journal.
std::string JournalHeaderLine();

// Appends the line of `event` with its sequence number (1, 2, ...) to `out`.
void AppendJournalLine(std::string& out, uint64_t sequence, const JournalEvent& event);

// Lines of a journal that could not be read and were read past.
struct JournalDamage {
    size_t damagedLines = 0;    // whole lines that could not be read, before the last good one
    bool headerDamaged = false; // events were read, but not the first line naming the format
    uint64_t missingEvents = 0; // event numbers between good lines that were never read
    uint64_t firstMissing = 0;  // the first and last of them (0 when none)
    uint64_t lastMissing = 0;
    bool Any() const { return damagedLines > 0 || missingEvents > 0 || headerDamaged; }
};

// What a journal's bytes hold.
struct JournalContents {
    bool headerValid = false;         // the first line names this format and version
    std::vector<JournalEvent> events; // every whole, valid event in order
    bool tailDropped = false;         // bytes after the last valid line were dropped
    size_t validBytes = 0;            // up to the end of the last valid line, header included
    uint64_t lastSequence = 0;        // the number of the last event read
    JournalDamage damage;             // read past before the last valid line
};

// Where a journal read whole ended: what going on appending to it needs.
struct JournalEnd {
    uint64_t bytes = 0;        // the file's size as read
    uint64_t lastSequence = 0; // the number of its last event
    bool endsWithLine = true;  // its last byte ends a line (no torn tail)
};

// Reads every whole, valid line, past damaged ones. Never throws; memory is
// a small multiple of the input's size; one pass over the bytes. A header of
// another format or version ends the reading at once: nothing of it is read.
JournalContents ReadJournal(std::string_view bytes) noexcept;

// CRC-32 (the one of zip and PNG) of `bytes`.
uint32_t JournalCrc32(std::string_view bytes);

} // namespace kesto
