// The program started on a folder with nothing in it, not even the sound
// folder: everything it says goes through the program's dialogs, in words
// that tell what is missing.
#include "app/kesto_program.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace kesto::e2e {
namespace {

namespace fs = std::filesystem;

// Notes every message; "No" to every question (to the port's: demo mode).
class NoToEveryQuestion final : public Dialogs {
public:
    MessageAnswer Show(const Message& message) override {
        shown.push_back(message);
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    std::optional<int32_t> ChooseColor(int32_t) override { return std::nullopt; }
    std::vector<Message> shown;
};

TEST(EmptyProgramFolder, StartsSpeakingOnlyThroughTheDialogsInPlainWords) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const fs::path folder = fs::path(temp.path().toStdString()) / "KestoTimer";
    fs::create_directories(folder);
    fs::create_symlink(folder / "no-decoder", folder / "COM1"); // no decoder on port 1
    NoToEveryQuestion dialogs;

    // A real message box would wait for a person: any that opens is noted and closed.
    QStringList realBoxes;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            realBoxes << box->text();
            box->done(0);
        }
    });
    watch.start();
    KestoProgram program(folder, &dialogs);
    program.Start();
    watch.stop();

    EXPECT_TRUE(realBoxes.isEmpty()) << realBoxes.join(QStringLiteral(" | ")).toStdString();
    std::vector<std::string> texts;
    for (const Message& message : dialogs.shown) {
        texts.push_back(message.text);
        EXPECT_EQ(message.text.find("No such file"), std::string::npos) << message.text;
    }
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Error can't find file: " + (folder / "LmSound/everylap.wav").string());
    EXPECT_EQ(texts[1], "File not found\n" + (folder / "LmSound/LMSounds.dat").string());
    EXPECT_EQ(texts[2].substr(0, texts[2].find('\n')), "Com Port ERROR!");
    program.Window().hide();
}

} // namespace
} // namespace kesto::e2e
