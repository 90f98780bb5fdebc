#pragma once
// The race journal's file format: one event per text line, so the file only
// ever grows by whole lines appended at its end. Each line is
//     <sequence> <tag> <field> ... <crc>\n
// with fields separated by one blank, texts escaped (%XX for every byte that
// is not a printable ASCII character other than "%"), and <crc> the CRC-32 of
// everything before the blank ahead of it in 8 lower-case hex digits. The
// first line, sequence 0, names the format and its version; events follow
// numbered from 1. Fields added later go at the end of their line, and a
// reader takes a line without them. A line cut short by a power cut (no line feed), garbled
// (checksum wrong) or out of sequence ends the journal: what comes before it
// is the race as far as it is known.

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

// What a journal's bytes hold.
struct JournalContents {
    bool headerValid = false;         // the first line names this format and version
    std::vector<JournalEvent> events; // every whole, valid event in order
    bool tailDropped = false;         // bytes after the last valid line were dropped
    size_t validBytes = 0;            // length of the valid lines, header included
};

// Reads events up to the last whole, valid line. Never throws; memory is a
// small multiple of the input's size; one pass over the bytes.
JournalContents ReadJournal(std::string_view bytes) noexcept;

// CRC-32 (the one of zip and PNG) of `bytes`.
uint32_t JournalCrc32(std::string_view bytes);

} // namespace kesto
