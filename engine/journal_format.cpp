#include "engine/journal_format.h"

#include <array>
#include <charconv>
#include <cstring>

namespace kesto {
namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> CrcTable = MakeCrcTable();

constexpr const char* HexDigits = "0123456789abcdef";
constexpr size_t CrcWidth = 8;

struct Tag {
    JournalEventKind kind;
    std::string_view name;
};
constexpr std::array<Tag, 16> Tags{{
    {JournalEventKind::RaceStarted, "start"},
    {JournalEventKind::TimingStarted, "green"},
    {JournalEventKind::DecoderLine, "line"},
    {JournalEventKind::TypedRecord, "typed"},
    {JournalEventKind::DemoPass, "demo"},
    {JournalEventKind::ScreenUpdated, "screen"},
    {JournalEventKind::WhiteFlagShown, "white"},
    {JournalEventKind::CheckeredFlagDropped, "checkered"},
    {JournalEventKind::RaceClosed, "close"},
    {JournalEventKind::BestLapCleared, "best"},
    {JournalEventKind::NameChosen, "name"},
    {JournalEventKind::UnsavedMarks, "saved"},
    {JournalEventKind::RaceAborted, "abort"},
    {JournalEventKind::RaceReset, "reset"},
    {JournalEventKind::SettingsChanged, "settings"},
    {JournalEventKind::JournalBehind, "behind"},
}};

std::string_view TagName(JournalEventKind kind) {
    for (const Tag& tag : Tags)
        if (tag.kind == kind)
            return tag.name;
    return "?";
}

// --- writing -------------------------------------------------------------------

void AppendNumber(std::string& out, int64_t value) {
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    out += ' ';
    out.append(text, result.ptr);
}

void AppendFloat(std::string& out, float value) {
    char text[48];
    auto result = std::to_chars(text, text + sizeof text, value); // shortest exact text
    out += ' ';
    out.append(text, result.ptr);
}

void AppendText(std::string& out, std::string_view text) {
    out += ' ';
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte > 0x20 && byte < 0x7F && byte != '%') {
            out += ch;
        } else {
            out += '%';
            out += HexDigits[byte >> 4];
            out += HexDigits[byte & 15];
        }
    }
}

struct FieldWriter {
    std::string& out;
    void operator()(const bool& v) { AppendNumber(out, v ? 1 : 0); }
    void operator()(const int16_t& v) { AppendNumber(out, v); }
    void operator()(const int32_t& v) { AppendNumber(out, v); }
    void operator()(const float& v) { AppendFloat(out, v); }
    void operator()(const std::string& v) { AppendText(out, v); }
};

// The start fields in their order on the line; one list for writing and reading.
template <class Start, class Visit> void VisitSettingsFields(Start& s, Visit& v) {
    auto& set = s.Settings;
    v(set.TrackLength);
    v(set.TrackLengthIndex);
    v(set.ScaleText);
    v(set.ScaleDivisor);
    v(set.ScaleIndex);
    v(set.MinLapTime);
    v(set.MinLapTimeIndex);
    v(set.StartDelay);
    v(set.StartDelayIndex);
    v(set.ComPort);
    v(set.ComPortIndex);
    v(set.FirstLapCount);
    v(set.FirstLapIndex);
    for (auto& color : set.IdColor)
        v(color);
    v(set.TrackName);
    v(s.SpeedMultiplier);
    v(s.BestColumnMode);
    v(s.LagColumnMode);
}

template <class Start, class Visit> void VisitStartFields(Start& s, Visit& v) {
    VisitSettingsFields(s, v);
    for (auto& name : s.Names.IdName)
        v(name);
    for (auto& id : s.Names.NamedId)
        v(id);
    v(s.PracticeMode);
    v(s.LapRace);
    v(s.TimedRace);
    v(s.NumberOfLaps);
    v(s.RaceMinutes);
    v(s.DemoMode);
    v(s.RaceFormatText);
    for (auto& value : s.DemoNextPass)
        v(value);
    for (auto& value : s.DemoLapBase)
        v(value);
    for (auto& value : s.DemoLapSpread)
        v(value);
    for (auto& value : s.DemoCrashChance)
        v(value);
}

void AppendFields(std::string& out, const JournalEvent& e) {
    switch (e.kind) {
    case JournalEventKind::RaceStarted: {
        FieldWriter writer{out};
        const JournalRaceStart empty;
        const JournalRaceStart& start = e.start ? *e.start : empty;
        VisitStartFields(start, writer);
        // Journals of races under the usual finish rule stay as they always were.
        if (start.Finish != FinishRule::LeaderAtFlag)
            AppendNumber(out, static_cast<int32_t>(start.Finish));
        break;
    }
    case JournalEventKind::SettingsChanged: {
        FieldWriter writer{out};
        const JournalRaceStart empty;
        VisitSettingsFields(e.start ? *e.start : empty, writer);
        break;
    }
    case JournalEventKind::DecoderLine:
    case JournalEventKind::TypedRecord:
        AppendNumber(out, e.raceClock);
        AppendText(out, e.text);
        AppendNumber(out, e.tickMs);
        break;
    case JournalEventKind::DemoPass:
        AppendNumber(out, e.raceClock);
        AppendNumber(out, e.id);
        AppendNumber(out, e.value);
        break;
    case JournalEventKind::ScreenUpdated:
    case JournalEventKind::WhiteFlagShown:
        AppendNumber(out, e.raceClock);
        break;
    case JournalEventKind::CheckeredFlagDropped:
        AppendNumber(out, e.raceClock);
        AppendNumber(out, e.value);
        for (int16_t lap : e.finishLap)
            AppendNumber(out, lap);
        break;
    case JournalEventKind::RaceClosed:
        AppendNumber(out, e.raceClock);
        AppendText(out, e.text);
        break;
    case JournalEventKind::JournalBehind:
        AppendNumber(out, e.raceClock);
        AppendNumber(out, e.value);
        AppendText(out, e.text);
        break;
    case JournalEventKind::BestLapCleared:
        AppendNumber(out, e.id);
        break;
    case JournalEventKind::NameChosen:
        AppendNumber(out, e.id);
        AppendText(out, e.text);
        break;
    case JournalEventKind::UnsavedMarks:
        AppendNumber(out, e.value != 0 ? 1 : 0);
        AppendNumber(out, e.value2 != 0 ? 1 : 0);
        break;
    case JournalEventKind::TimingStarted:
    case JournalEventKind::RaceAborted:
    case JournalEventKind::RaceReset:
        break;
    }
}

void SealLine(std::string& out, size_t bodyStart) {
    const uint32_t crc =
        JournalCrc32(std::string_view(out).substr(bodyStart, out.size() - bodyStart));
    out += ' ';
    for (int shift = 28; shift >= 0; shift -= 4)
        out += HexDigits[(crc >> shift) & 15];
    out += '\n';
}

// --- reading -------------------------------------------------------------------

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// The blank-separated fields of one line's body, read in turn.
class FieldReader {
public:
    explicit FieldReader(std::string_view body) : m_rest(body) {}

    bool ok = true;

    std::string_view Next() {
        if (m_done) {
            ok = false;
            return {};
        }
        const size_t blank = m_rest.find(' ');
        std::string_view field = m_rest.substr(0, blank);
        if (blank == std::string_view::npos)
            m_done = true;
        else
            m_rest.remove_prefix(blank + 1);
        return field;
    }
    bool AtEnd() const { return m_done; }

    template <class Int> Int Number(int64_t low, int64_t high) {
        const std::string_view field = Next();
        int64_t value = 0;
        auto result = std::from_chars(field.data(), field.data() + field.size(), value);
        if (result.ec != std::errc() || result.ptr != field.data() + field.size() || value < low ||
            value > high || field.empty()) {
            ok = false;
            return 0;
        }
        return static_cast<Int>(value);
    }
    int32_t Int32() { return Number<int32_t>(INT32_MIN, INT32_MAX); }
    int16_t Int16() { return Number<int16_t>(INT16_MIN, INT16_MAX); }
    bool Bool() { return Number<int>(0, 1) != 0; }
    float Float() {
        const std::string_view field = Next();
        float value = 0;
        auto result = std::from_chars(field.data(), field.data() + field.size(), value);
        if (result.ec != std::errc() || result.ptr != field.data() + field.size())
            ok = false;
        return value;
    }
    std::string Text() {
        const std::string_view field = Next();
        std::string text;
        text.reserve(field.size());
        for (size_t i = 0; i < field.size(); ++i) {
            if (field[i] != '%') {
                text += field[i];
                continue;
            }
            const int high = i + 2 < field.size() ? HexValue(field[i + 1]) : -1;
            const int low = high >= 0 ? HexValue(field[i + 2]) : -1;
            if (low < 0) {
                ok = false;
                return {};
            }
            text += static_cast<char>(high * 16 + low);
            i += 2;
        }
        return text;
    }

private:
    std::string_view m_rest;
    bool m_done = false;
};

struct FieldParser {
    FieldReader& in;
    void operator()(bool& v) { v = in.Bool(); }
    void operator()(int16_t& v) { v = in.Int16(); }
    void operator()(int32_t& v) { v = in.Int32(); }
    void operator()(float& v) { v = in.Float(); }
    void operator()(std::string& v) { v = in.Text(); }
};

bool ParseFields(FieldReader& in, JournalEvent& e) {
    switch (e.kind) {
    case JournalEventKind::RaceStarted: {
        auto start = std::make_shared<JournalRaceStart>();
        FieldParser parser{in};
        VisitStartFields(*start, parser);
        if (!in.AtEnd() && in.Int32() == static_cast<int32_t>(FinishRule::EveryCarOnNextPass))
            start->Finish = FinishRule::EveryCarOnNextPass;
        e.start = std::move(start);
        break;
    }
    case JournalEventKind::SettingsChanged: {
        auto settings = std::make_shared<JournalRaceStart>();
        FieldParser parser{in};
        VisitSettingsFields(*settings, parser);
        e.start = std::move(settings);
        break;
    }
    case JournalEventKind::DecoderLine:
    case JournalEventKind::TypedRecord:
        e.raceClock = in.Int32();
        e.text = in.Text();
        e.tickMs = in.AtEnd() ? e.raceClock : in.Int32();
        break;
    case JournalEventKind::RaceClosed:
        e.raceClock = in.Int32();
        e.text = in.Text();
        break;
    case JournalEventKind::DemoPass:
        e.raceClock = in.Int32();
        e.id = in.Int32();
        e.value = in.Int32();
        break;
    case JournalEventKind::JournalBehind:
        e.raceClock = in.Int32();
        e.value = in.Int32();
        e.text = in.Text();
        break;
    case JournalEventKind::ScreenUpdated:
    case JournalEventKind::WhiteFlagShown:
        e.raceClock = in.Int32();
        break;
    case JournalEventKind::CheckeredFlagDropped:
        e.raceClock = in.Int32();
        e.value = in.Int32();
        for (int16_t& lap : e.finishLap)
            lap = in.Int16();
        break;
    case JournalEventKind::BestLapCleared:
        e.id = in.Int32();
        break;
    case JournalEventKind::NameChosen:
        e.id = in.Int32();
        e.text = in.Text();
        break;
    case JournalEventKind::UnsavedMarks:
        e.value = in.Bool() ? 1 : 0;
        e.value2 = in.Bool() ? 1 : 0;
        break;
    case JournalEventKind::TimingStarted:
    case JournalEventKind::RaceAborted:
    case JournalEventKind::RaceReset:
        break;
    }
    return in.ok && in.AtEnd();
}

// The body of a line whose checksum is right, else nothing.
bool CheckedBody(std::string_view line, std::string_view& body) {
    if (line.size() < CrcWidth + 2 || line[line.size() - CrcWidth - 1] != ' ')
        return false;
    uint32_t stated = 0;
    for (char ch : line.substr(line.size() - CrcWidth)) {
        const int digit = HexValue(ch);
        if (digit < 0 || (ch >= 'A' && ch <= 'F'))
            return false;
        stated = stated << 4 | static_cast<uint32_t>(digit);
    }
    body = line.substr(0, line.size() - CrcWidth - 1);
    return JournalCrc32(body) == stated;
}

enum class Header { Valid, OtherVersion, Damaged };

Header ParseHeader(std::string_view line) {
    std::string_view body;
    if (!CheckedBody(line, body))
        return Header::Damaged;
    FieldReader in(body);
    if (in.Int32() != 0 || in.Next() != JournalFormatName)
        return Header::Damaged;
    const int32_t version = in.Int32();
    if (!in.ok || !in.AtEnd())
        return Header::Damaged;
    return version == JournalFormatVersion ? Header::Valid : Header::OtherVersion;
}

// A whole line that reads as an event numbered above `after`; `number` is its number.
bool ParseEvent(std::string_view line, uint64_t after, uint64_t& number, JournalEvent& event) {
    std::string_view body;
    if (!CheckedBody(line, body))
        return false;
    FieldReader in(body);
    const std::string_view seq = in.Next();
    auto result = std::from_chars(seq.data(), seq.data() + seq.size(), number);
    if (result.ec != std::errc() || result.ptr != seq.data() + seq.size() || number <= after ||
        (seq.size() > 1 && seq[0] == '0'))
        return false;
    const std::string_view tag = in.Next();
    for (const Tag& known : Tags) {
        if (known.name == tag) {
            event.kind = known.kind;
            return ParseFields(in, event);
        }
    }
    return false;
}

} // namespace

uint32_t JournalCrc32(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char ch : bytes)
        crc = CrcTable[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string JournalHeaderLine() {
    std::string line = "0 ";
    line += JournalFormatName;
    AppendNumber(line, JournalFormatVersion);
    SealLine(line, 0);
    return line;
}

void AppendJournalLine(std::string& out, uint64_t sequence, const JournalEvent& event) {
    const size_t bodyStart = out.size();
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, sequence);
    out.append(text, result.ptr);
    out += ' ';
    out += TagName(event.kind);
    AppendFields(out, event);
    SealLine(out, bodyStart);
}

JournalContents ReadJournal(std::string_view bytes) noexcept {
    JournalContents contents;
    JournalDamage& damage = contents.damage;
    size_t damagedSinceGood = 0; // damaged lines after the last good one
    try {
        const char* data = bytes.data();
        const size_t size = bytes.size();
        // No reservation up front: the events take memory only as they are read.
        size_t pos = 0;
        bool first = true;
        while (pos < size) {
            const void* found = std::memchr(data + pos, '\n', size - pos);
            if (found == nullptr)
                break; // torn: no line feed
            const size_t lineEnd = static_cast<size_t>(static_cast<const char*>(found) - data);
            const std::string_view line = bytes.substr(pos, lineEnd - pos);
            pos = lineEnd + 1;
            if (first) {
                first = false;
                const Header header = ParseHeader(line);
                if (header == Header::OtherVersion)
                    break; // not ours to read
                if (header == Header::Valid) {
                    contents.headerValid = true;
                    contents.validBytes = pos;
                    continue;
                }
                // A damaged first line may still be the header: the events decide.
            }
            JournalEvent event;
            uint64_t number = 0;
            if (!ParseEvent(line, contents.lastSequence, number, event)) {
                ++damagedSinceGood;
                continue;
            }
            if (contents.lastSequence + 1 < number) {
                const uint64_t firstMissing = contents.lastSequence + 1;
                if (damage.firstMissing == 0)
                    damage.firstMissing = firstMissing;
                damage.lastMissing = number - 1;
                damage.missingEvents += number - firstMissing;
            }
            damage.damagedLines += damagedSinceGood;
            damagedSinceGood = 0;
            // The journal's own note takes no number: the event after it has this one.
            contents.lastSequence =
                event.kind == JournalEventKind::JournalBehind ? number - 1 : number;
            contents.events.push_back(std::move(event));
            contents.validBytes = pos;
        }
    } catch (...) {
        // what was read so far stands
    }
    // Events without their first line: the header was damaged or lost.
    damage.headerDamaged = !contents.headerValid && !contents.events.empty();
    contents.tailDropped = contents.validBytes < bytes.size();
    return contents;
}

} // namespace kesto
