// The start-up offer to resume a race: a timer (race control, tick, journal)
// races in a folder and is "killed" (dropped without Reset), a second timer
// starts in the same folder and is asked. Yes brings the race back and it goes
// on recording; No sets the journal aside; a journal that cannot be read
// starts the timer as usual without a question.
#include "display/resume_offer.h"

#include "support/journal_race_rig.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace kesto {
namespace {

using test::DecoderFeed;
using test::JournalRig;
using ::testing::HasSubstr;
using ::testing::Not;

class ResumeOffer : public test::TempFolderTest {
protected:
    // A 10-lap race of six cars, run for `ticks` ticks (or to its close), then
    // the timer is gone as if killed: its journal stays as it was written.
    void RaceAndKill(int ticks) {
        auto live = std::make_unique<JournalRig>(folder);
        live->state.LapRace = true;
        live->state.NumberOfLaps = 10;
        live->state.RaceFormatText = "10 Lap Race";
        live->state.Settings.StartDelay = 0;
        live->Start();
        for (int tick = 0; tick < ticks && live->state.TimerEnabled; ++tick)
            feed.Tick(*live);
        atKill = std::make_unique<RaceState>(live->state);
    }

    // The next start of the timer in the same folder.
    ResumeOutcome Restart(std::optional<MessageAnswer> answer) {
        next.reset(); // the timer before it is gone
        next = std::make_unique<JournalRig>(folder);
        if (answer)
            next->race.dialogs.answers.push_back(*answer);
        return OfferToResumeRace(next->race.context, next->control, next->journal, folder);
    }

    const Message& Question() const { return next->race.dialogs.shown.at(0); }
    int LapsAtKill() const {
        int laps = 0;
        for (int16_t count : atKill->LapCount)
            laps += count > 0 ? count : 0;
        return laps;
    }

    DecoderFeed feed = DecoderFeed::Race(6, 12, 11);
    std::unique_ptr<RaceState> atKill;
    std::unique_ptr<JournalRig> next;
};

TEST_F(ResumeOffer, MidRaceYesResumesAndTheJournalGoesOn) {
    RaceAndKill(2345);
    ASSERT_FALSE(atKill->RaceIsOver);
    ASSERT_GT(LapsAtKill(), 6);

    EXPECT_EQ(Restart(MessageAnswer::Yes), ResumeOutcome::Resumed);
    ASSERT_EQ(next->race.dialogs.shown.size(), 1u);
    const Message& question = Question();
    EXPECT_EQ(question.title, "Resume Race");
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.defaultAnswer, MessageAnswer::Yes);
    EXPECT_THAT(question.text, HasSubstr("in the middle of a race"));
    EXPECT_THAT(question.text, HasSubstr("Race: 10 Lap Race\n"));
    EXPECT_THAT(question.text, HasSubstr("Race time reached: 0:23\n"));
    EXPECT_THAT(question.text,
                HasSubstr("Laps recorded: " + std::to_string(LapsAtKill()) + " (6 cars)\n"));
    EXPECT_THAT(question.text, Not(HasSubstr("Not saved")));
    EXPECT_THAT(question.text, HasSubstr("Resume this race?"));

    test::ExpectSameRace(*atKill, next->state);
    EXPECT_EQ(next->screen.button, StartButton::Abort);
    EXPECT_TRUE(next->state.TimerEnabled);

    // The race runs on in the new timer and its journal keeps recording: a
    // replay of the journal now is the race as the new timer has it.
    for (int tick = 0; tick < 300; ++tick)
        feed.Tick(*next);
    std::optional<UnfinishedRace> race = FindUnfinishedRace(folder);
    ASSERT_TRUE(race.has_value());
    RaceState replayed;
    SoundChoices sounds;
    ReplayRace(*race, replayed, sounds);
    test::ExpectSameRace(next->state, replayed);
    EXPECT_GT(race->lastRaceClock, atKill->RaceClock);
}

TEST_F(ResumeOffer, NoSetsTheJournalAsideAndStartsAsUsual) {
    RaceAndKill(1500);
    const std::string journal = ReadBytes(folder / "KestoRace.jnl");

    EXPECT_EQ(Restart(MessageAnswer::No), ResumeOutcome::Declined);
    ASSERT_EQ(next->race.dialogs.shown.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder / "KestoRace.jnl"));
    EXPECT_EQ(ReadBytes(folder / "KestoRace.jnl.old"), journal);
    EXPECT_EQ(next->state.Button, StartButton::Start);
    EXPECT_FALSE(next->state.TimerEnabled);
    EXPECT_EQ(next->state.LapCount, PerId<int16_t>{});

    // Not asked again, and the next race keeps a journal of its own.
    EXPECT_EQ(Restart(std::nullopt), ResumeOutcome::NoRace);
    EXPECT_TRUE(next->race.dialogs.shown.empty());
    next->state.PracticeMode = true;
    next->Start();
    EXPECT_TRUE(FindUnfinishedRace(folder).has_value());
    EXPECT_EQ(ReadBytes(folder / "KestoRace.jnl.old"), journal);
}

TEST_F(ResumeOffer, AClosedRaceWithUnsavedResultsComesBackToBeSaved) {
    RaceAndKill(1000000);
    ASSERT_TRUE(atKill->RaceIsOver);
    {
        // The lap times were saved before the kill, the summary not.
        JournalFile journal(folder);
        ASSERT_TRUE(journal.ContinueExisting());
        journal.Record(JournalEvent::UnsavedMarks(false, true));
    }

    EXPECT_EQ(Restart(MessageAnswer::Yes), ResumeOutcome::Resumed);
    EXPECT_THAT(Question().text, HasSubstr("after a race had finished"));
    EXPECT_THAT(Question().text, HasSubstr("Not saved: the summary\n"));
    EXPECT_THAT(Question().text, HasSubstr("Laps recorded: " + std::to_string(LapsAtKill())));
    EXPECT_TRUE(next->state.RaceIsOver);
    EXPECT_FALSE(next->state.TimerEnabled);
    EXPECT_FALSE(next->state.LapsUnsaved);
    EXPECT_TRUE(next->state.SummaryUnsaved);
    EXPECT_EQ(next->screen.button, StartButton::Reset);
    EXPECT_TRUE(next->screen.MenuEnabled(MainMenu::File));
}

TEST_F(ResumeOffer, BothResultsUnsavedAreNamed) {
    RaceAndKill(1000000);
    ASSERT_TRUE(atKill->RaceIsOver);
    EXPECT_EQ(Restart(MessageAnswer::No), ResumeOutcome::Declined);
    EXPECT_THAT(Question().text, HasSubstr("Not saved: the lap times and the summary\n"));
}

TEST_F(ResumeOffer, ATornLastLineIsLeftOutAndTheRestOffered) {
    RaceAndKill(2000);
    WriteBytes(folder / "KestoRace.jnl",
               ReadBytes(folder / "KestoRace.jnl") + "999 TORN-TAIL 20000"); // no line end
    EXPECT_EQ(Restart(MessageAnswer::Yes), ResumeOutcome::Resumed);
    test::ExpectSameRace(*atKill, next->state);
    // Nothing is cut: the torn line is ended and read past from now on.
    feed.Tick(*next);
    EXPECT_THAT(ReadBytes(folder / "KestoRace.jnl"), HasSubstr("\n999 TORN-TAIL 20000\n"));
    std::optional<UnfinishedRace> race = FindUnfinishedRace(folder);
    ASSERT_TRUE(race.has_value());
    EXPECT_EQ(race->damage.damagedLines, 1u);
    EXPECT_EQ(race->damage.missingEvents, 0u);
    RaceState replayed;
    SoundChoices sounds;
    ReplayRace(*race, replayed, sounds);
    test::ExpectSameRace(next->state, replayed);
}

// The journal's bytes with one byte of line `line` (0 = the header) changed.
std::string Garbled(std::string bytes, int line) {
    size_t at = 0;
    for (int i = 0; i < line; ++i)
        at = bytes.find('\n', at) + 1;
    bytes[at + 2] ^= 0x20;
    return bytes;
}

TEST_F(ResumeOffer, ADamagedLineIsReadPastNamedInTheQuestionAndNeverCut) {
    RaceAndKill(2345);
    const std::string damaged = Garbled(ReadBytes(folder / "KestoRace.jnl"), 41); // a refresh
    WriteBytes(folder / "KestoRace.jnl", damaged);
    EXPECT_EQ(Restart(MessageAnswer::Yes), ResumeOutcome::Resumed);
    EXPECT_THAT(Question().text, HasSubstr("\nThe race journal was damaged: 1 line could not be "
                                           "read and was skipped; event 41 is missing.\n"));
    test::ExpectSameRace(*atKill, next->state);
    feed.Tick(*next);
    EXPECT_EQ(ReadBytes(folder / "KestoRace.jnl").substr(0, damaged.size()), damaged);
}

TEST_F(ResumeOffer, ADamagedHeaderIsOfferedAllTheSameAndKeptOnNo) {
    RaceAndKill(1500);
    const std::string damaged = Garbled(ReadBytes(folder / "KestoRace.jnl"), 0);
    WriteBytes(folder / "KestoRace.jnl", damaged);
    EXPECT_EQ(Restart(MessageAnswer::No), ResumeOutcome::Declined);
    EXPECT_THAT(Question().text, HasSubstr("its first line could not be read and was skipped; no "
                                           "event of the race is missing.\n"));
    EXPECT_EQ(ReadBytes(folder / "KestoRace.jnl.old"), damaged);
}

TEST_F(ResumeOffer, AJournalWhoseStartCannotBeReadIsToldAndKeptAside) {
    RaceAndKill(1500);
    const std::string damaged = Garbled(ReadBytes(folder / "KestoRace.jnl"), 1);
    WriteBytes(folder / "KestoRace.jnl", damaged);
    EXPECT_EQ(Restart(std::nullopt), ResumeOutcome::KeptAside);
    ASSERT_EQ(next->race.dialogs.shown.size(), 1u);
    EXPECT_EQ(Question().buttons, MessageButtons::Ok);
    EXPECT_THAT(Question().text, HasSubstr("is damaged: the start of its race could not be read"));
    EXPECT_THAT(Question().text, HasSubstr("It is kept as KestoRace.jnl.old."));
    EXPECT_EQ(ReadBytes(folder / "KestoRace.jnl.old"), damaged);
    EXPECT_FALSE(std::filesystem::exists(folder / "KestoRace.jnl"));
    EXPECT_EQ(next->state.Button, StartButton::Start);
}

TEST_F(ResumeOffer, AJournalThatCannotBeReadStartsTheTimerAsUsual) {
    EXPECT_EQ(Restart(std::nullopt), ResumeOutcome::NoRace) << "no journal at all";

    WriteBytes(folder / "KestoRace.jnl", std::string("\x00\xff garbage\n\n\x7f", 13));
    EXPECT_EQ(Restart(std::nullopt), ResumeOutcome::NoRace);
    EXPECT_TRUE(next->race.dialogs.shown.empty());

    WriteBytes(folder / "KestoRace.jnl", "");
    EXPECT_EQ(Restart(std::nullopt), ResumeOutcome::NoRace);

    std::filesystem::remove(folder / "KestoRace.jnl");
    std::filesystem::create_directory(folder / "KestoRace.jnl"); // not even a file
    EXPECT_EQ(Restart(std::nullopt), ResumeOutcome::NoRace);
    EXPECT_TRUE(next->race.dialogs.shown.empty());
    EXPECT_EQ(next->state.Button, StartButton::Start);
}

} // namespace
} // namespace kesto

namespace kesto {
namespace {

// A demo race had no decoder: the question promises nothing about one.
TEST(ResumeRaceQuestion, ADemoRaceSaysNothingOfTheDecoder) {
    auto start = std::make_shared<JournalRaceStart>();
    start->DemoMode = true;
    UnfinishedRace race;
    race.events.resize(1);
    race.events[0].kind = JournalEventKind::RaceStarted;
    race.events[0].start = start;
    race.reachedGreen = true;

    const std::string demo = ResumeRaceQuestion(race, ResumeFigures{}).text;
    EXPECT_THAT(demo, ::testing::HasSubstr("Yes: the race goes on from where it stopped.\n"));
    EXPECT_THAT(demo, ::testing::Not(::testing::HasSubstr("decoder")));

    start->DemoMode = false;
    EXPECT_THAT(ResumeRaceQuestion(race, ResumeFigures{}).text,
                ::testing::HasSubstr("the decoder's laps are counted again from now on"));
}

} // namespace
} // namespace kesto
