// The race journal's lines: every event and every byte of its texts comes back
// as written; a torn last line ends the journal at the last whole event, and a
// garbled or missing line is read past and named.
#include "engine/journal_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kesto {
namespace {

std::string Journal(const std::vector<JournalEvent>& events) {
    std::string bytes = JournalHeaderLine();
    uint64_t sequence = 0;
    for (const JournalEvent& event : events)
        AppendJournalLine(bytes, ++sequence, event);
    return bytes;
}

JournalEvent Line(int32_t clock, std::string text,
                  JournalEventKind kind = JournalEventKind::DecoderLine) {
    JournalEvent event;
    event.kind = kind;
    event.raceClock = clock;
    event.text = std::move(text);
    return event;
}

JournalEvent Event(JournalEventKind kind, int32_t clock = 0, int32_t id = 0, int32_t value = 0,
                   int32_t value2 = 0) {
    JournalEvent event;
    event.kind = kind;
    event.raceClock = clock;
    event.id = id;
    event.value = value;
    event.value2 = value2;
    return event;
}

JournalEvent Screen(int32_t clock) {
    JournalEvent event;
    event.kind = JournalEventKind::ScreenUpdated;
    event.raceClock = clock;
    return event;
}

std::string EveryByte() {
    std::string text;
    for (int byte = 0; byte < 256; ++byte)
        text += static_cast<char>(byte);
    return text;
}

JournalRaceStart FullStart() {
    JournalRaceStart start;
    start.Settings.TrackLength = 88;
    start.Settings.TrackLengthIndex = 3;
    start.Settings.ScaleText = "1:24";
    start.Settings.ScaleDivisor = 24;
    start.Settings.ScaleIndex = 2;
    start.Settings.MinLapTime = 1.1f;
    start.Settings.MinLapTimeIndex = 7;
    start.Settings.StartDelay = -1;
    start.Settings.StartDelayIndex = 0;
    start.Settings.ComPort = 16;
    start.Settings.ComPortIndex = 15;
    start.Settings.FirstLapCount = -1;
    start.Settings.FirstLapIndex = 1;
    for (int i = 0; i < MaxCarIds; ++i) {
        start.Settings.IdColor[i] = 0x00FFFFFF - i * 977;
        start.Names.IdName[i] = i == 3 ? std::string() : "Racer \xE9 " + std::to_string(i + 1);
        start.Names.NamedId[i] = static_cast<int16_t>(i % 2 == 0 ? i + 1 : 0);
        start.DemoNextPass[i] = 100 + i;
        start.DemoLapBase[i] = INT32_MAX - i;
        start.DemoLapSpread[i] = INT32_MIN + i;
        start.DemoCrashChance[i] = static_cast<int16_t>(18 - i);
    }
    start.Settings.TrackName = "Club % track\r\nwith  blanks";
    start.SpeedMultiplier = 0.1f / 3.0f;
    start.TimedRace = true;
    start.NumberOfLaps = 32767;
    start.RaceMinutes = -5;
    start.DemoMode = true;
    start.RaceFormatText = "Demo - 5 Minute Race";
    start.BestColumnMode = "Median";
    start.LagColumnMode = "Lag First";
    return start;
}

void ExpectSameStart(const JournalRaceStart& a, const JournalRaceStart& b) {
    const SettingsRecord& x = a.Settings;
    const SettingsRecord& y = b.Settings;
    EXPECT_EQ(a.Finish, b.Finish);
    EXPECT_EQ(x.TrackLength, y.TrackLength);
    EXPECT_EQ(x.TrackLengthIndex, y.TrackLengthIndex);
    EXPECT_EQ(x.ScaleText, y.ScaleText);
    EXPECT_EQ(x.ScaleDivisor, y.ScaleDivisor);
    EXPECT_EQ(x.ScaleIndex, y.ScaleIndex);
    EXPECT_EQ(x.MinLapTime, y.MinLapTime);
    EXPECT_EQ(x.MinLapTimeIndex, y.MinLapTimeIndex);
    EXPECT_EQ(x.StartDelay, y.StartDelay);
    EXPECT_EQ(x.StartDelayIndex, y.StartDelayIndex);
    EXPECT_EQ(x.ComPort, y.ComPort);
    EXPECT_EQ(x.ComPortIndex, y.ComPortIndex);
    EXPECT_EQ(x.FirstLapCount, y.FirstLapCount);
    EXPECT_EQ(x.FirstLapIndex, y.FirstLapIndex);
    EXPECT_EQ(x.IdColor, y.IdColor);
    EXPECT_EQ(x.TrackName, y.TrackName);
    EXPECT_EQ(a.Names.IdName, b.Names.IdName);
    EXPECT_EQ(a.Names.NamedId, b.Names.NamedId);
    EXPECT_EQ(a.SpeedMultiplier, b.SpeedMultiplier);
    EXPECT_EQ(a.PracticeMode, b.PracticeMode);
    EXPECT_EQ(a.LapRace, b.LapRace);
    EXPECT_EQ(a.TimedRace, b.TimedRace);
    EXPECT_EQ(a.NumberOfLaps, b.NumberOfLaps);
    EXPECT_EQ(a.RaceMinutes, b.RaceMinutes);
    EXPECT_EQ(a.DemoMode, b.DemoMode);
    EXPECT_EQ(a.RaceFormatText, b.RaceFormatText);
    EXPECT_EQ(a.BestColumnMode, b.BestColumnMode);
    EXPECT_EQ(a.LagColumnMode, b.LagColumnMode);
    EXPECT_EQ(a.DemoNextPass, b.DemoNextPass);
    EXPECT_EQ(a.DemoLapBase, b.DemoLapBase);
    EXPECT_EQ(a.DemoLapSpread, b.DemoLapSpread);
    EXPECT_EQ(a.DemoCrashChance, b.DemoCrashChance);
}

TEST(JournalFormat, EveryEventComesBackAsWritten) {
    std::vector<JournalEvent> events;
    JournalEvent start;
    start.kind = JournalEventKind::RaceStarted;
    start.start = std::make_shared<JournalRaceStart>(FullStart());
    events.push_back(start);
    JournalRaceStart rcHeat = FullStart();
    rcHeat.Finish = FinishRule::EveryCarOnNextPass;
    start.start = std::make_shared<JournalRaceStart>(rcHeat);
    events.push_back(start);
    events.push_back(Event(JournalEventKind::TimingStarted));
    events.push_back(Line(0, "@0500001234\r"));
    events.push_back(Line(-7, EveryByte(), JournalEventKind::TypedRecord));
    events.push_back(Line(5, std::string(1024, 'x') + "%41 \n"));
    JournalEvent demo = Event(JournalEventKind::DemoPass, 1230, 14, INT32_MAX);
    events.push_back(demo);
    events.push_back(Screen(INT32_MIN));
    events.push_back(Event(JournalEventKind::WhiteFlagShown, 61000));
    JournalEvent checkered = Event(JournalEventKind::CheckeredFlagDropped, 62000, 0, 70123);
    for (int i = 0; i < MaxCarIds; ++i)
        checkered.finishLap[i] = static_cast<int16_t>(i == 0 ? -32768 : 10 + i);
    events.push_back(checkered);
    events.push_back(Line(70200, "Dec-07, 8-15", JournalEventKind::RaceClosed));
    events.push_back(Event(JournalEventKind::BestLapCleared, 0, 0));
    events.push_back(Event(JournalEventKind::BestLapCleared, 0, 9));
    JournalEvent name = Event(JournalEventKind::NameChosen, 0, 3);
    name.text = "";
    events.push_back(name);
    name.text = "Ann-Marie O'Neil";
    events.push_back(name);
    events.push_back(Event(JournalEventKind::UnsavedMarks, 0, 0, 0, 1));
    JournalEvent settings = Event(JournalEventKind::SettingsChanged);
    JournalRaceStart changed = FullStart();
    changed.Names = {};
    changed.PracticeMode = changed.LapRace = changed.TimedRace = changed.DemoMode = false;
    changed.NumberOfLaps = 0;
    changed.RaceMinutes = 0;
    changed.RaceFormatText.clear();
    changed.DemoNextPass = changed.DemoLapBase = changed.DemoLapSpread = {};
    changed.DemoCrashChance = {};
    settings.start = std::make_shared<JournalRaceStart>(changed);
    events.push_back(settings);
    events.push_back(Event(JournalEventKind::RaceAborted));
    events.push_back(Event(JournalEventKind::RaceReset));

    const std::string bytes = Journal(events);
    const JournalContents read = ReadJournal(bytes);
    ASSERT_TRUE(read.headerValid);
    EXPECT_FALSE(read.tailDropped);
    EXPECT_EQ(read.validBytes, bytes.size());
    ASSERT_EQ(read.events.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        const JournalEvent& a = events[i];
        const JournalEvent& b = read.events[i];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.raceClock, b.raceClock);
        EXPECT_EQ(a.id, b.id);
        EXPECT_EQ(a.value, b.value);
        EXPECT_EQ(a.value2, b.value2);
        EXPECT_EQ(a.text, b.text);
        if (a.kind == JournalEventKind::CheckeredFlagDropped) {
            EXPECT_EQ(a.finishLap, b.finishLap);
        }
        if (a.kind == JournalEventKind::RaceStarted ||
            a.kind == JournalEventKind::SettingsChanged) {
            ASSERT_TRUE(b.start);
            ExpectSameStart(*a.start, *b.start);
        }
    }
}

TEST(JournalFormat, OneLinePerEventInPrintableAscii) {
    const std::string bytes = Journal({Line(0, EveryByte()), Screen(10)});
    int lineFeeds = 0;
    for (char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '\n')
            ++lineFeeds;
        else
            EXPECT_TRUE(byte >= 0x20 && byte < 0x7F) << int(byte);
    }
    EXPECT_EQ(lineFeeds, 3);
    EXPECT_EQ(bytes.substr(0, 19), "0 KestoRaceJournal ");
}

TEST(JournalFormat, OddSettingValuesComeBackExactly) {
    for (float value : {std::numeric_limits<float>::infinity(), -0.0f,
                        std::numeric_limits<float>::denorm_min(), 3.4e38f, 0.7f}) {
        JournalEvent start = Event(JournalEventKind::RaceStarted);
        auto values = std::make_shared<JournalRaceStart>();
        values->Settings.MinLapTime = value;
        values->SpeedMultiplier = std::numeric_limits<float>::quiet_NaN();
        start.start = values;
        const JournalContents read = ReadJournal(Journal({start}));
        ASSERT_EQ(read.events.size(), 1u) << value;
        EXPECT_EQ(std::signbit(read.events[0].start->Settings.MinLapTime), std::signbit(value));
        EXPECT_EQ(read.events[0].start->Settings.MinLapTime, value);
        EXPECT_TRUE(std::isnan(read.events[0].start->SpeedMultiplier));
    }
}

TEST(JournalFormat, ALineTornAnywhereEndsTheJournalAtTheEventBefore) {
    const std::string whole = Journal({Line(0, "@0100001000"), Screen(0), Line(1000, "@00000001")});
    const size_t lastLine = whole.rfind('\n', whole.size() - 2) + 1;
    for (size_t cut = lastLine; cut < whole.size(); ++cut) {
        const JournalContents read = ReadJournal(std::string_view(whole).substr(0, cut));
        EXPECT_TRUE(read.headerValid);
        EXPECT_EQ(read.events.size(), 2u) << cut;
        EXPECT_EQ(read.tailDropped, cut > lastLine) << cut;
        EXPECT_EQ(read.validBytes, lastLine);
    }
}

TEST(JournalFormat, AGarbledLineIsReadPastAndItsEventNamedMissing) {
    const std::string whole = Journal({Line(0, "@0100001000"), Screen(0), Line(1000, "@00000001")});
    const size_t second = whole.find('\n', whole.find('\n') + 1) + 1;
    const size_t third = whole.find('\n', second) + 1;
    for (size_t at = second; at + 1 < third; ++at) { // its line feed below
        for (char garble : {'\0', 'x', '7', ' ', '\xFF'}) {
            std::string bytes = whole;
            if (bytes[at] == garble)
                continue;
            bytes[at] = garble;
            const JournalContents read = ReadJournal(bytes);
            ASSERT_EQ(read.events.size(), 2u) << at << " " << int(garble);
            EXPECT_EQ(read.events[1].text, "@00000001");
            EXPECT_FALSE(read.tailDropped);
            EXPECT_EQ(read.damage.damagedLines, 1u);
            EXPECT_EQ(read.damage.missingEvents, 1u);
            EXPECT_EQ(read.damage.firstMissing, 2u);
            EXPECT_EQ(read.damage.lastMissing, 2u);
        }
    }
    // Two lines run into one: both events missing, the rest read.
    std::string joined = Journal({Line(0, "@0100001000"), Screen(0), Screen(5), Screen(9)});
    joined.erase(joined.find('\n', second), 1);
    const JournalContents read = ReadJournal(joined);
    ASSERT_EQ(read.events.size(), 2u);
    EXPECT_EQ(read.events[1].raceClock, 9);
    EXPECT_EQ(read.damage.missingEvents, 2u);
    EXPECT_EQ(read.lastSequence, 4u);
}

TEST(JournalFormat, ADamagedHeaderStillReadsItsEvents) {
    std::string bytes = Journal({Line(0, "@0100001000"), Screen(0)});
    bytes[3] = 'X';
    const JournalContents read = ReadJournal(bytes);
    EXPECT_FALSE(read.headerValid);
    EXPECT_EQ(read.events.size(), 2u);
    EXPECT_TRUE(read.damage.headerDamaged);
    EXPECT_EQ(read.damage.damagedLines, 1u);
    EXPECT_EQ(read.damage.missingEvents, 0u);
}

TEST(JournalFormat, TheJournalsNoteThatItFellBehindTakesNoNumber) {
    std::string bytes = Journal({Screen(0)});
    AppendJournalLine(bytes, 2, JournalEvent::JournalBehind(2500, 0, "No space left on device"));
    AppendJournalLine(bytes, 2, Screen(10));
    AppendJournalLine(bytes, 3, JournalEvent::JournalBehind(3000, 7, "events dropped"));
    AppendJournalLine(bytes, 3, Screen(20));
    const JournalContents read = ReadJournal(bytes);
    ASSERT_EQ(read.events.size(), 5u);
    EXPECT_FALSE(read.damage.Any());
    EXPECT_EQ(read.lastSequence, 3u);
    EXPECT_EQ(read.events[1].kind, JournalEventKind::JournalBehind);
    EXPECT_EQ(read.events[1].raceClock, 2500);
    EXPECT_EQ(read.events[1].text, "No space left on device");
    EXPECT_EQ(read.events[3].value, 7);
}

TEST(JournalFormat, ZerosAfterTheLastLineAreDropped) {
    // A power cut can leave the file longer than what was written, filled with zeros.
    std::string bytes = Journal({Screen(0)}) + std::string(4096, '\0');
    const JournalContents read = ReadJournal(bytes);
    EXPECT_EQ(read.events.size(), 1u);
    EXPECT_TRUE(read.tailDropped);
}

TEST(JournalFormat, ALineMissingOrOutOfSequenceIsNamedAndTheRestRead) {
    std::string bytes = JournalHeaderLine();
    AppendJournalLine(bytes, 1, Screen(0));
    AppendJournalLine(bytes, 3, Screen(10)); // line 2 missing
    AppendJournalLine(bytes, 2, Screen(15)); // behind its number: read past
    AppendJournalLine(bytes, 4, Screen(20));
    const JournalContents read = ReadJournal(bytes);
    ASSERT_EQ(read.events.size(), 3u);
    EXPECT_EQ(read.events[2].raceClock, 20);
    EXPECT_FALSE(read.tailDropped);
    EXPECT_EQ(read.damage.damagedLines, 1u);
    EXPECT_EQ(read.damage.missingEvents, 1u);
    EXPECT_EQ(read.damage.firstMissing, 2u);
}

TEST(JournalFormat, OnlyThisFormatAndVersionIsRead) {
    EXPECT_FALSE(ReadJournal("").headerValid);
    EXPECT_FALSE(ReadJournal("").tailDropped);
    std::string other = "0 KestoRaceJournal 2";
    other += " " + [&] {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", JournalCrc32(other));
        return std::string(hex);
    }() + "\n";
    AppendJournalLine(other, 1, Screen(0));
    const JournalContents read = ReadJournal(other);
    EXPECT_FALSE(read.headerValid);
    EXPECT_TRUE(read.events.empty());
    EXPECT_EQ(read.validBytes, 0u);

    // Events without the header line are no journal either.
    std::string headless;
    AppendJournalLine(headless, 0, Screen(0));
    EXPECT_TRUE(ReadJournal(headless).events.empty());
}

TEST(JournalFormat, FieldsOutOfRangeOrMissingMakeALineInvalid) {
    const std::string header = JournalHeaderLine();
    auto sealed = [](std::string body) {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", JournalCrc32(body));
        return body + " " + hex + "\n";
    };
    for (const char* body :
         {"1 screen 2147483648", "1 screen", "1 screen 5 6", "1 demo 5 1", "1 line 5 %4",
          "1 line 5 %zz", "1 saved 2 0", "1 checkered 5 5 1 2", "1 unknown 5", "1 screen +5",
          "01x screen 5", "1 screen 0x10", "1 best ", "1 start 1 2 3"}) {
        const JournalContents read = ReadJournal(header + sealed(body));
        EXPECT_TRUE(read.events.empty()) << body;
        EXPECT_TRUE(read.tailDropped) << body;
    }
    EXPECT_EQ(ReadJournal(header + sealed("1 screen -2147483648")).events.size(), 1u);
}

TEST(JournalFormat, Crc32IsTheStandardOne) {
    EXPECT_EQ(JournalCrc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(JournalCrc32(""), 0u);
}

} // namespace
} // namespace kesto
