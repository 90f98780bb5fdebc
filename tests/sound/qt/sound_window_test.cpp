#include "sound/qt/sound_window.h"

#include "config/sound_choices_file.h"
#include "support/test_doubles.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

const char* const SavedChoices =
    "1\r\n0\r\n1\r\n"
    "\"Fastest.wav\"\r\n\"everylap.wav\"\r\n\"Bestlap.wav\"\r\n"
    "#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n#FALSE#\r\n#TRUE#\r\n"
    "#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n";

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class SoundWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        programFolder = fs::temp_directory_path() /
                        ("kesto-soundwin-" + std::to_string(::getpid()) +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(programFolder);
        soundFolder = programFolder / "LMSound"; // the window's spelling of "LmSound"
        fs::create_directories(soundFolder);
        for (const char* name : {"CHEER.WAV", "Go.wav", "Bestlap.wav", "notes.txt"})
            std::ofstream(soundFolder / name) << "RIFF";
        std::ofstream(soundFolder / "LMSounds.dat", std::ios::binary) << SavedChoices;
    }
    void TearDown() override {
        window.reset();
        fs::remove_all(programFolder);
    }

    // Start-up reads the choices once; the window shows them.
    FrmKestoSound& Open() {
        if (!started) {
            LoadSoundChoices(programFolder, choices, dialogs);
            started = true;
        }
        window = std::make_unique<FrmKestoSound>(choices, player, dialogs, programFolder,
                                                 [this] { ++helpCalls; });
        return *window;
    }
    template <typename T> T* Find(const char* name) {
        T* child = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QListWidget* Events() { return Find<QListWidget>("lstRaceSounds"); }
    QColor FrameColor(int slot) {
        return Find<QGroupBox>(("fraSound" + std::to_string(slot)).c_str())
            ->palette()
            .color(QPalette::Window);
    }
    QColor CheckColor(int slot) {
        return Find<QCheckBox>(("chkPlay" + std::to_string(slot)).c_str())
            ->palette()
            .color(QPalette::Window);
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    // Clicks an entry of a list shown on screen.
    void ClickEntry(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton) {
        window->show();
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), button, {}, rect.center());
    }

    fs::path programFolder;
    fs::path soundFolder;
    SoundChoices choices;
    test::RecordingSoundPlayer player;
    test::FakeDialogs dialogs;
    int helpCalls = 0;
    bool started = false;
    std::unique_ptr<FrmKestoSound> window;
};

TEST_F(SoundWindowTest, LoadingFillsTheChoicesAndTheControlsFromTheFile) {
    Open();
    EXPECT_EQ(window->windowTitle(), "Sounds");
    EXPECT_FALSE(window->isVisible()); // loaded hidden
    EXPECT_TRUE(dialogs.shown.empty());

    const QStringList expected = {
        "Race Starts in 20 sec", "Race Starts in 5 sec", "Get Ready",     "Go",
        "Yellow Flag",           "White Flag",           "1 Minute Left", "5 Minutes Left",
        "Halfway thru the Race", "10 Seconds Left",      "Race Over",     "Checkered Flag"};
    ASSERT_EQ(Events()->count(), 12);
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(Events()->item(row)->text(), expected[row]);
        const bool on = row == 0 || row == 3 || row == 5 || row == 11;
        EXPECT_EQ(Events()->item(row)->checkState(), on ? Qt::Checked : Qt::Unchecked) << row;
        EXPECT_EQ(choices.RaceSoundEnabled[row], on) << row;
    }
    EXPECT_TRUE(Find<QCheckBox>("chkPlay0")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("chkPlay1")->isChecked());
    EXPECT_EQ(Find<QLabel>("lblSound1")->text(), "everylap.wav");
    EXPECT_EQ(choices.CarSoundFile[2], "Bestlap.wav");
    EXPECT_EQ(Find<QGroupBox>("fraSound2")->title(), "Personal Best Lap:");
    EXPECT_EQ(Find<QLabel>("lblInstruction")->text(),
              "Click on \"Change\" Button to change Wav file then select wav file");
    EXPECT_EQ(Find<QLabel>("lblSelectSound")->text(), "Instructions");
    EXPECT_FALSE(Find<QListWidget>("FileSounds")->isVisibleTo(window.get()));
    EXPECT_EQ(FrameColor(0), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(CheckColor(1), QColor(0xE0, 0xE0, 0xE0));
}

TEST_F(SoundWindowTest, AMissingFileIsReportedOnceAtStartUpAndNotAtEveryOpening) {
    fs::remove(soundFolder / "LMSounds.dat");
    Open();
    Open(); // the menu, twice
    Open();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "");
    EXPECT_EQ(dialogs.last().text, "File not found\n" + (soundFolder / "LMSounds.dat").string());
    for (int row = 0; row < 12; ++row)
        EXPECT_EQ(Events()->item(row)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(Find<QCheckBox>("chkPlay0")->isChecked());
    EXPECT_EQ(Find<QLabel>("lblSound0")->text(), "");
}

TEST_F(SoundWindowTest, ChoosingCheerWavStoresItInProperCase) {
    Open();
    Click("cmdChange1");
    auto* files = Find<QListWidget>("FileSounds");
    EXPECT_TRUE(files->isVisibleTo(window.get()));
    EXPECT_FALSE(Find<QLabel>("lblInstruction")->isVisibleTo(window.get()));
    EXPECT_EQ(Find<QLabel>("lblSelectSound")->text(), "Select\nEach Lap:");
    EXPECT_EQ(window->SoundSlotBeingChanged(), 1);
    ASSERT_EQ(files->count(), 3); // wave files only, in any letter case
    EXPECT_EQ(files->item(0)->text(), "Bestlap.wav");
    EXPECT_EQ(files->item(1)->text(), "CHEER.WAV");
    EXPECT_EQ(Find<QLabel>("lblSound1")->text(), "everylap.wav"); // opening chose nothing

    ClickEntry(files, 1);
    EXPECT_EQ(Find<QLabel>("lblSound1")->text(), "Cheer.wav");
    ClickEntry(files, 2); // the list stays open for another choice
    EXPECT_EQ(Find<QLabel>("lblSound1")->text(), "Go.wav");
    EXPECT_EQ(Find<QLabel>("lblSound0")->text(), "Fastest.wav");

    QTest::mouseClick(Find<QLabel>("lblSelectSound"), Qt::LeftButton);
    EXPECT_EQ(Find<QLabel>("lblSelectSound")->text(), "Instructions");
    EXPECT_FALSE(files->isVisibleTo(window.get()));
    EXPECT_TRUE(Find<QLabel>("lblInstruction")->isVisibleTo(window.get()));
}

TEST_F(SoundWindowTest, OkSavesGoAndCheckeredFlagOnLines10And18) {
    Open();
    for (int row = 0; row < 12; ++row)
        Events()->item(row)->setCheckState(row == 3 || row == 11 ? Qt::Checked : Qt::Unchecked);
    Find<QCheckBox>("chkPlay0")->setChecked(false);
    Find<QCheckBox>("chkPlay1")->setChecked(true);
    window->cmdChange_Click(2);
    window->FileSounds_Click(Find<QListWidget>("FileSounds")->item(1));
    Click("cmdOK");

    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(dialogs.shown.empty());
    const std::vector<std::string> lines = Lines(ReadAll(soundFolder / "LMSounds.dat"));
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[0], "0");
    EXPECT_EQ(lines[1], "1");
    EXPECT_EQ(lines[3], "\"Fastest.wav\""); // a cleared slot keeps its file
    EXPECT_EQ(lines[5], "\"Cheer.wav\"");
    for (int line = 7; line <= 18; ++line)
        EXPECT_EQ(lines[line - 1], line == 10 || line == 18 ? "#TRUE#" : "#FALSE#") << line;
    EXPECT_TRUE(choices.RaceSoundEnabled[3]);
    EXPECT_FALSE(choices.RaceSoundEnabled[0]);
    EXPECT_EQ(choices.CarSoundEnabled[0], 0);
    EXPECT_EQ(choices.CarSoundFile[2], "Cheer.wav");
}

TEST_F(SoundWindowTest, CancelLeavesFileAndChoicesAsTheyWere) {
    Open();
    const SoundChoices before = choices;
    Events()->item(0)->setCheckState(Qt::Unchecked);
    Find<QCheckBox>("chkPlay1")->setChecked(true);
    window->cmdChange_Click(0);
    window->FileSounds_Click(Find<QListWidget>("FileSounds")->item(2));
    Click("cmdCancel");

    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(ReadAll(soundFolder / "LMSounds.dat"), SavedChoices);
    EXPECT_EQ(choices.RaceSoundEnabled, before.RaceSoundEnabled);
    EXPECT_EQ(choices.CarSoundEnabled, before.CarSoundEnabled);
    EXPECT_EQ(choices.CarSoundFile, before.CarSoundFile);
}

TEST_F(SoundWindowTest, TestPlaysTheSlotAndPaintsItsFrameGreenUntilTheTimerTicks) {
    Open();
    const QColor green(0x00, 0xFF, 0x00), grey(0xE0, 0xE0, 0xE0);
    Click("cmdTest1");
    EXPECT_EQ(player.played, (std::vector<std::string>{"everylap.wav"}));
    EXPECT_EQ(FrameColor(1), green);
    EXPECT_EQ(FrameColor(0), grey);
    QTimer* timer = window->tmrSound();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 333);

    window->tmrSound_Timer();
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(FrameColor(slot), grey) << slot;
        EXPECT_EQ(CheckColor(slot), grey) << slot;
    }
    EXPECT_TRUE(timer->isActive()); // its own tick does not stop it
}

TEST_F(SoundWindowTest, TestingASlotWithoutAFileAsksForOne) {
    std::ofstream(soundFolder / "LMSounds.dat", std::ios::binary)
        << "1\r\n1\r\n1\r\n\"Fastest.wav\"\r\n\"everylap.wav\"\r\n\"\"\r\n";
    Open();
    dialogs.shown.clear(); // the short file's own complaint
    Click("cmdTest2");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Select Sound File");
    EXPECT_EQ(dialogs.last().title, "");
    EXPECT_TRUE(player.played.empty());
    EXPECT_FALSE(window->tmrSound()->isActive());
    EXPECT_EQ(FrameColor(2), QColor(0xE0, 0xE0, 0xE0));
}

TEST_F(SoundWindowTest, PressOnAnEventPlaysItsWaveFileWithAnyButton) {
    Open();
    ClickEntry(Events(), 5, Qt::RightButton);
    ClickEntry(Events(), 3);
    EXPECT_EQ(player.played, (std::vector<std::string>{"White Flag.wav", "Go.wav"}));
}

TEST_F(SoundWindowTest, HelpOpensTheHelpFile) {
    Open();
    Click("cmdHelp");
    EXPECT_EQ(helpCalls, 1);
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

// KESTO_SCREENSHOT=<file.png> saves a picture of the window for a look by eye.
TEST_F(SoundWindowTest, Screenshot) {
    const QByteArray file = qgetenv("KESTO_SCREENSHOT");
    if (file.isEmpty())
        GTEST_SKIP() << "KESTO_SCREENSHOT not set";
    Open();
    window->show();
    EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(file)));
    window->cmdChange_Click(1);
    window->cmdTest_Click(0);
    EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(file).replace(
        QLatin1String(".png"), QLatin1String("-choosing.png"))));
}

} // namespace
} // namespace kesto
