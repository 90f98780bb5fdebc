// The timer as a process of its own, for the end-to-end test that kills it in
// the middle of a race: the whole program (offscreen) over a program folder,
// its dialogs answered from a script and its wall clock fixed, so that two
// runs date their results alike. It races through Start and the start lights,
// or resumes the race its journal holds, runs until the race closes and saves
// the four result files through the viewers. It tells the test what it does,
// one line at a time on standard output:
//   green       timing began: the test starts the decoder's clock now
//   resumed     the resume question came and was answered Yes; the race is back
//   closed      the race closed
//   saved       the result files are in the results folder
//   error: ...  something went wrong (the exit code is 1)
//
// usage: kesto_e2e_race_child --program-folder DIR --results DIR [--resume]
//                             [--meeting FILE]
//   --resume  the program must offer to resume a race (it is answered Yes);
//             without it, any message at start-up is an error.
//   --meeting the race is the first heat of the meeting in FILE: the meeting
//             is opened and the heat loaded before Start (a resumed program
//             finds both again by itself).
#include "app/kesto_program.h"
#include "app/meeting_wiring.h"
#include "display/resume_offer.h"
#include "program_driver.h"
#include "support/test_doubles.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using namespace kesto;

constexpr int RaceTimeoutMs = 90000;

void Say(const std::string& line) {
    std::cout << line << std::endl; // flushed: the test waits for it
}

[[noreturn]] void Fail(const std::string& why) {
    Say("error: " + why);
    std::_Exit(1);
}

std::string Value(const QStringList& arguments, const char* option) {
    const int at = static_cast<int>(arguments.indexOf(QString::fromLatin1(option)));
    if (at < 0 || at + 1 >= arguments.size())
        Fail(std::string(option) + " is missing");
    return arguments.at(at + 1).toStdString();
}

std::string Describe(const Message& message) {
    return "\"" + message.title + "\": " + message.text;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments();
    const std::filesystem::path folder = Value(arguments, "--program-folder");
    const std::filesystem::path results = Value(arguments, "--results");
    const bool resume = arguments.contains(QStringLiteral("--resume"));

    test::FakeDialogs dialogs;
    test::FixedWallClock clock;
    if (resume)
        dialogs.answers.push_back(MessageAnswer::Yes);
    KestoProgram program(folder, &dialogs, &clock);
    program.State().Locale = NumberLocale{};
    program.Start();

    std::string why;
    if (resume) {
        if (dialogs.shown.size() != 1 || dialogs.last().title != ResumeRaceTitle)
            Fail(dialogs.shown.empty() ? "no resume question"
                                       : "at start-up: " + Describe(dialogs.last()));
        if (!program.State().TimerEnabled)
            Fail("the resumed race is not timed");
        Say("resumed");
    } else {
        if (!dialogs.shown.empty())
            Fail("at start-up: " + Describe(dialogs.last()));
        if (arguments.contains(QStringLiteral("--meeting"))) {
            MeetingWiring& meetings = program.Meetings();
            if (Refusal refused = meetings.Desk().Open(Value(arguments, "--meeting")))
                Fail(*refused);
            if (Refusal refused = meetings.LoadHeat(1))
                Fail(*refused);
        }
        if (!e2e::PressStartThroughTheLights(
                program, [] { Say("green"); }, &why))
            Fail(why);
    }

    if (!e2e::RunUntilRaceCloses(program, RaceTimeoutMs))
        Fail("the race did not close; race clock " + std::to_string(program.State().RaceClock));
    const size_t shownBefore = dialogs.shown.size();
    Say("closed");
    e2e::SaveResults(program, dialogs, results, &why);
    if (!why.empty())
        Fail(why);
    for (size_t i = shownBefore; i < dialogs.shown.size(); ++i)
        if (dialogs.shown[i].title != "File Saved")
            Fail("while saving: " + Describe(dialogs.shown[i]));
    Say("saved");
    return 0;
}
