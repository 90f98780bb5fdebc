// The timer as a process of its own, for the fault-injection suite: the whole
// program (offscreen) over a program folder the suite has spoiled, its
// dialogs answered with their preselected buttons ("No" to the port question,
// so it races the demo). It starts up, races for a while when asked, aborts,
// and leaves through Exit, which saves the names and the lag column mode.
// What it sees goes to standard output, one line each:
//   started          the load and the resume offer are done
//   said: TITLE | TEXT    a message box (the text's first line)
//   journal alarm: TEXT   the race journal's banner came up
//   journal alarm gone    and went
//   raced            the race ran and was aborted
//   exited           the program left through Exit
//   saving           (--save-loop) the saves began; it saves until killed
//
// usage: kesto_fault_child --program-folder DIR [--race MS] [--fill-disk-at MS]
//                          [--free-disk-at MS] | --save-loop DIR
#include "app/kesto_program.h"
#include "config/data_files.h"
#include "config/roster_file.h"
#include "config/settings_files.h"
#include "program_driver.h"
#include "save_versions.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

using namespace kesto;
namespace fs = std::filesystem;

void Say(const std::string& line) {
    std::cout << line << std::endl; // flushed: the suite reads it as it comes
}

// Every message answered with its preselected button, the port question with
// No: demo mode, whatever serial ports the machine has.
class AnsweringDialogs final : public Dialogs {
public:
    MessageAnswer Show(const Message& message) override {
        Say("said: " + message.title + " | " + message.text.substr(0, message.text.find('\n')));
        if (message.title == "Com Port")
            return MessageAnswer::No;
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : message.defaultAnswer;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<int32_t> ChooseColor(int32_t) override { return std::nullopt; }
};

std::string Option(int argc, char** argv, const std::string& name, const std::string& fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (argv[i] == name)
            return argv[i + 1];
    return fallback;
}

// Whatever room the disk under `folder` has left, taken by a file of its own.
void FillDisk(const fs::path& folder) {
    const int fd = ::open((folder / ".child-filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    char block[4096] = {};
    for (size_t size = sizeof block; size > 0 && fd >= 0; size /= 2)
        while (::write(fd, block, size) == static_cast<ssize_t>(size)) {
        }
    if (fd >= 0)
        ::close(fd);
}

// Two versions of every file the timer saves, saved in turn until the suite
// kills the process: whatever moment the kill comes, each file must be one of
// the two, whole.
[[noreturn]] void SaveLoop(const fs::path& folder) {
    const faults::SaveVersion versions[2] = {faults::SavedVersion(0), faults::SavedVersion(1)};
    Say("saving");
    for (int turn = 0;; turn ^= 1) {
        const faults::SaveVersion& version = versions[turn];
        SaveSettingsFile(folder, SettingsFileName, version.settings);
        SaveIdNames(folder, IdNamesFileName, version.names);
        WriteRoster(folder, version.roster);
        WriteLagColumnMode(folder, version.lagMode);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--save-loop")
        SaveLoop(argv[2]);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const fs::path folder = Option(argc, argv, "--program-folder", ".");
    const int raceMs = std::stoi(Option(argc, argv, "--race", "0"));
    const int fillAt = std::stoi(Option(argc, argv, "--fill-disk-at", "-1"));
    const int freeAt = std::stoi(Option(argc, argv, "--free-disk-at", "-1"));

    AnsweringDialogs dialogs;
    KestoProgram program(folder, &dialogs);
    program.State().Locale = NumberLocale{};
    program.Start();
    Say("started");

    if (raceMs > 0 && program.State().Button == StartButton::Start) {
        std::string why;
        // A spoiled settings file may ask for a countdown of minutes: a start
        // still waiting after a few seconds is called off.
        QTimer::singleShot(6000, [] {
            if (QWidget* waiting = QApplication::activeModalWidget())
                waiting->close();
        });
        if (e2e::PressStartThroughTheLights(
                program, [] {}, &why)) {
            auto* alarm = program.Window().findChild<QLabel*>(QStringLiteral("lblJournalAlarm"));
            bool shown = false;
            bool filled = false;
            QElapsedTimer racing;
            racing.start();
            while (racing.elapsed() < raceMs) {
                QTest::qWait(10);
                if (fillAt >= 0 && !filled && racing.elapsed() >= fillAt) {
                    FillDisk(folder);
                    filled = true;
                }
                if (alarm != nullptr && alarm->isVisible() != shown) {
                    shown = alarm->isVisible();
                    Say(shown ? "journal alarm: " + alarm->text().toStdString()
                              : "journal alarm gone");
                }
                if (freeAt >= 0 && filled && racing.elapsed() >= freeAt)
                    fs::remove(folder / ".child-filler"); // the journal catches up
            }
            if (program.State().Button == StartButton::Abort)
                if (auto* start =
                        program.Window().findChild<QPushButton*>(QStringLiteral("cmdStart")))
                    start->click(); // abort, answered Yes
            Say("raced");
        } else {
            Say("no race: " + why);
        }
    }
    if (auto* exit = program.Window().findChild<QAction*>(QStringLiteral("mnuExit")))
        exit->trigger();
    Say("exited");
    return 0;
}
