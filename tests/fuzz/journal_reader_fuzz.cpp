// Reads arbitrary bytes as a race journal and replays whatever was read into
// a fresh race state. A journal is a file on disk that a crash, a power cut or
// a damaged disk may have left in any shape; resuming from it must never
// crash, hang or take memory out of proportion to it.
//
// The first byte chooses how the rest is read: as the journal's bytes
// themselves, or as line bodies that the harness numbers and seals with the
// right checksum, so the fuzzer gets past the checksum to the fields and the
// replay.

#include "engine/journal_format.h"
#include "engine/journal_replay.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using namespace kesto;

std::string Sealed(std::string_view bodies) {
    std::string bytes = JournalHeaderLine();
    uint64_t sequence = 0;
    while (!bodies.empty()) {
        const size_t end = bodies.find('\n');
        const std::string_view body = bodies.substr(0, end);
        std::string line = std::to_string(++sequence) + " ";
        line += body;
        char crc[16];
        std::snprintf(crc, sizeof crc, " %08x\n", JournalCrc32(line));
        bytes += line;
        bytes += crc;
        if (end == std::string_view::npos)
            break;
        bodies.remove_prefix(end + 1);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string bytes = (data[0] & 1) != 0 ? Sealed(input) : std::string(input);

    JournalContents contents = ReadJournal(bytes);
    if (contents.validBytes > bytes.size() || contents.events.size() > bytes.size() / 8 + 1)
        __builtin_trap();

    UnfinishedRace race = DescribeRace(std::move(contents));
    RaceState state;
    SoundChoices sounds;
    sounds.RaceSoundEnabled.fill((data[0] & 2) != 0);
    ReplayRace(race, state, sounds);
    return 0;
}
