// The whole program started again after it was stopped in the middle of a
// race (here: the program object dropped without Exit or Reset, which leaves
// the journal as a kill does). The test plays the decoder itself, writing its
// lines to a pseudo-terminal the program reaches as COM1, so the race's times
// are the lines' own and nothing depends on real time. Yes resumes the race
// on the port the load opened, No starts as usual with the journal set aside,
// a journal that cannot be read asks nothing, and a closed race with unsaved
// results comes back to be saved through the viewers.
#include "display/resume_offer.h"
#include "engine/journal_file.h"
#include "engine/journal_format.h"
#include "engine/journal_replay.h"
#include "program_driver.h"
#include "result_file_reading.h"
#include "scripted_race.h"

#include "support/qt/find_child.h"
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace kesto::e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr int RaceLaps = 5;
constexpr int WaitMs = 10000;

// The decoder's end of a pseudo-terminal; the program's end is linked as COM1.
class DecoderTerminal final {
public:
    DecoderTerminal() {
        m_fd = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd >= 0 && (::grantpt(m_fd) != 0 || ::unlockpt(m_fd) != 0)) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~DecoderTerminal() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DecoderTerminal(const DecoderTerminal&) = delete;
    DecoderTerminal& operator=(const DecoderTerminal&) = delete;

    bool LinkAs(const fs::path& link) const {
        if (m_fd < 0)
            return false;
        std::error_code error;
        fs::create_symlink(::ptsname(m_fd), link, error);
        return !error;
    }
    void Send(const std::string& bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            ASSERT_GT(n, 0) << "writing to the pseudo-terminal";
            done += static_cast<size_t>(n);
        }
    }

private:
    int m_fd = -1;
};

int TotalLaps(const RaceState& state) {
    int laps = 0;
    for (int16_t count : state.LapCount)
        laps += count > 0 ? count : 0;
    return laps;
}

class ResumeAtStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        folder = fs::path(m_temp.path().toStdString()) / "KestoTimer";
        ASSERT_NO_FATAL_FAILURE(WriteClubFolder(folder, RaceLaps));
        ASSERT_TRUE(decoder.LinkAs(folder / "COM1"));
    }

    std::unique_ptr<KestoProgram> StartProgram(test::FakeDialogs& dialogs) {
        auto program = std::make_unique<KestoProgram>(folder, &dialogs, &clock);
        program->State().Locale = NumberLocale{};
        program->Start();
        return program;
    }

    // The first program: Start, lights, and the decoder's lines up to
    // `untilMs`, all counted; then it is gone without Exit or Reset.
    void RaceAndStop(int64_t untilMs) {
        test::FakeDialogs dialogs;
        auto program = StartProgram(dialogs);
        ASSERT_TRUE(dialogs.shown.empty()) << dialogs.last().text;
        std::string why;
        ASSERT_TRUE(PressStartThroughTheLights(
            *program, [] {}, &why))
            << why;
        ASSERT_NO_FATAL_FAILURE(SendUpTo(untilMs));
        const int laps = ExpectedLapsUpTo(untilMs);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return TotalLaps(program->State()) == laps &&
                       (program->State().RaceIsOver || untilMs < RaceEndMs());
            },
            WaitMs))
            << "laps " << TotalLaps(program->State()) << " of " << laps;
        lapsAtStop = TotalLaps(program->State());
        closedAtStop = program->State().RaceIsOver;
        program.reset();
    }

    // The decoder's lines up to `ms`, one at a time as a decoder sends them:
    // each is read (it is in the journal) before the next goes, so the finish
    // check runs between them as in a real race. While no program runs they
    // are only sent (`running` false).
    void SendUpTo(int64_t ms, bool running = true) {
        const std::string lines = DecoderLinesBetween(passings, sentUntil, ms);
        sentUntil = ms;
        size_t from = 0;
        for (size_t end = lines.find('\n'); end != std::string::npos;
             from = end + 1, end = lines.find('\n', from)) {
            decoder.Send(lines.substr(from, end + 1 - from));
            ++linesSent;
            if (running) {
                ASSERT_TRUE(WaitUntilJournaled());
            }
        }
    }
    // Every line sent is in the journal, or the race closed (the lines after
    // the close are left unread).
    bool WaitUntilJournaled() {
        return QTest::qWaitFor(
            [&] {
                const std::string bytes = ReadWholeFile((folder / JournalFileName).string());
                int lines = 0;
                for (const JournalEvent& event : ReadJournal(bytes).events) {
                    if (event.kind == JournalEventKind::RaceClosed)
                        return true;
                    lines += event.kind == JournalEventKind::DecoderLine ? 1 : 0;
                }
                return lines >= linesSent;
            },
            WaitMs);
    }

    // Laps counted from the passings up to `ms` (5 laps each at most).
    int ExpectedLapsUpTo(int64_t ms) const {
        std::array<int, ScriptedCars> laps{};
        for (const sim::Passing& p : passings)
            if (p.ms <= ms && laps.at(static_cast<size_t>(p.id - 1)) < RaceLaps)
                ++laps.at(static_cast<size_t>(p.id - 1));
        int total = 0;
        for (int count : laps)
            total += count;
        return total;
    }
    int64_t RaceEndMs() const { return passings.back().ms + 2000; }

    fs::path folder;
    DecoderTerminal decoder;
    test::FixedWallClock clock;
    const std::vector<sim::Passing> passings = ScriptedRace(RaceLaps);
    int64_t sentUntil = -1;
    int linesSent = 0;
    int lapsAtStop = 0;
    bool closedAtStop = false;

private:
    QTemporaryDir m_temp;
};

TEST_F(ResumeAtStart, YesResumesOnTheOpenPortAndTheRaceRunsToItsClose) {
    ASSERT_NO_FATAL_FAILURE(RaceAndStop(6500)); // the third passing of every car
    ASSERT_EQ(lapsAtStop, 12);
    SendUpTo(8500, false); // while no program runs: the pseudo-terminal keeps the lines

    test::FakeDialogs dialogs;
    dialogs.answers = {MessageAnswer::Yes};
    auto program = StartProgram(dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const Message& question = dialogs.shown[0];
    EXPECT_EQ(question.title, "Resume Race");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.defaultAnswer, MessageAnswer::Yes);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_THAT(question.text, HasSubstr("Race: 5 Lap Race\n"));
    EXPECT_THAT(question.text, HasSubstr("Race time reached: 0:06\n"));
    EXPECT_THAT(question.text, HasSubstr("Laps recorded: 12 (4 cars)\n"));

    FrmKestoTimer& window = program->Window();
    EXPECT_EQ(test::Child<QPushButton>(&window, "cmdStart")->text(), QStringLiteral("Abort"));
    EXPECT_TRUE(test::Child<QTimer>(&window, "Timer1")->isActive());
    EXPECT_EQ(test::Child<QLabel>(&window, "lblRaceFormat")->text(), QStringLiteral("5 Lap Race"));
    EXPECT_TRUE(program->State().TimerEnabled);

    // The lines sent while the program was down, then the rest of the race.
    ASSERT_TRUE(WaitUntilJournaled()) << "the lines sent while the program was down";
    EXPECT_EQ(TotalLaps(program->State()), ExpectedLapsUpTo(8500));
    ASSERT_NO_FATAL_FAILURE(SendUpTo(RaceEndMs()));
    ASSERT_TRUE(RunUntilRaceCloses(*program, WaitMs))
        << "race clock " << program->State().RaceClock;
    EXPECT_EQ(TotalLaps(program->State()), RaceLaps * ScriptedCars);
    EXPECT_EQ(test::Child<QPushButton>(&window, "cmdStart")->text(), QStringLiteral("Reset"));
    EXPECT_EQ(dialogs.shown.size(), 1u) << dialogs.last().text;
}

TEST_F(ResumeAtStart, NoStartsAsUsualWithTheJournalSetAside) {
    ASSERT_NO_FATAL_FAILURE(RaceAndStop(6500));
    test::FakeDialogs dialogs;
    dialogs.answers = {MessageAnswer::No};
    auto program = StartProgram(dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Resume Race");
    EXPECT_EQ(test::Child<QPushButton>(&program->Window(), "cmdStart")->text(),
              QStringLiteral("Start"));
    EXPECT_FALSE(test::Child<QTimer>(&program->Window(), "Timer1")->isActive());
    EXPECT_EQ(TotalLaps(program->State()), 0);
    EXPECT_TRUE(fs::exists(folder / "KestoRace.jnl.old"));
    EXPECT_FALSE(FindUnfinishedRace(folder).has_value());

    // The next start asks nothing.
    program.reset();
    test::FakeDialogs again;
    program = StartProgram(again);
    EXPECT_TRUE(again.shown.empty()) << again.last().title;
}

TEST_F(ResumeAtStart, ATornJournalResumesAndAnUnreadableOneAsksNothing) {
    ASSERT_NO_FATAL_FAILURE(RaceAndStop(6500));
    // A power cut in the middle of the last line.
    const fs::path journal = folder / JournalFileName;
    std::ofstream(journal, std::ios::binary | std::ios::app) << "77 Decoder";
    {
        test::FakeDialogs dialogs;
        dialogs.answers = {MessageAnswer::Yes};
        auto program = StartProgram(dialogs);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_THAT(dialogs.shown[0].text, HasSubstr("Laps recorded: 12 (4 cars)\n"));
        EXPECT_EQ(TotalLaps(program->State()), 12);
        EXPECT_EQ(test::Child<QPushButton>(&program->Window(), "cmdStart")->text(),
                  QStringLiteral("Abort"));
    }

    // Nothing of a journal: the program starts as if there were none.
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << std::string("\0\xff\x01 x\n", 6);
    test::FakeDialogs dialogs;
    auto program = StartProgram(dialogs);
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.last().title << ": " << dialogs.last().text;
    EXPECT_EQ(test::Child<QPushButton>(&program->Window(), "cmdStart")->text(),
              QStringLiteral("Start"));
    EXPECT_TRUE(program->Window().isVisible());
    std::string why;
    EXPECT_TRUE(PressStartThroughTheLights(
        *program, [] {}, &why))
        << why;
}

TEST_F(ResumeAtStart, AClosedRaceWithUnsavedResultsComesBackToBeSaved) {
    ASSERT_NO_FATAL_FAILURE(RaceAndStop(RaceEndMs()));
    ASSERT_TRUE(closedAtStop);

    test::FakeDialogs dialogs;
    dialogs.answers = {MessageAnswer::Yes};
    auto program = StartProgram(dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_THAT(dialogs.shown[0].text, HasSubstr("after a race had finished"));
    EXPECT_THAT(dialogs.shown[0].text, HasSubstr("Not saved: the lap times and the summary\n"));
    EXPECT_EQ(test::Child<QPushButton>(&program->Window(), "cmdStart")->text(),
              QStringLiteral("Reset"));
    EXPECT_FALSE(test::Child<QTimer>(&program->Window(), "Timer1")->isActive());
    EXPECT_TRUE(program->State().LapsUnsaved);
    EXPECT_TRUE(program->State().SummaryUnsaved);

    std::string why;
    const SavedResults saved = SaveResults(*program, dialogs, folder, &why);
    ASSERT_TRUE(why.empty()) << why;
    const std::vector<CarLine> cars = FromLapGridFile(saved.lapGrid);
    ASSERT_EQ(cars.size(), static_cast<size_t>(ScriptedCars));
    for (const CarLine& car : cars)
        EXPECT_EQ(car.lapTimes.size(), static_cast<size_t>(RaceLaps)) << car.name;
    EXPECT_EQ(FromSummaryTextFile(saved.summaryText).size(), static_cast<size_t>(ScriptedCars));
    EXPECT_FALSE(program->State().LapsUnsaved);
    EXPECT_FALSE(program->State().SummaryUnsaved);

    // The saves are in the journal: after another stop nothing is offered.
    program.reset();
    EXPECT_FALSE(FindUnfinishedRace(folder).has_value());
    test::FakeDialogs again;
    program = StartProgram(again);
    EXPECT_TRUE(again.shown.empty()) << again.last().title;
}

} // namespace
} // namespace kesto::e2e
