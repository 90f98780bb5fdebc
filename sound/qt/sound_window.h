#pragma once
// frmKestoSound, "Sounds": which race events are announced and which wave file
// sounds for a car's lap, personal best and race best. It shows the shared
// sound choices, read from "LMSounds.dat" once at start-up (LoadSoundChoices),
// so opening it never reads the file again; OK writes them back. With the
// spoken calls shown (ShowSpeechCalls) it also chooses the calls and their
// voice, kept by OK in their own file.

#include "base/dialogs.h"
#include "base/sound_choices.h"
#include "base/sound_player.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace kesto {

class SpeechPanel;
class SpokenCalls;

class FrmKestoSound final : public QDialog {
    Q_OBJECT
public:
    static constexpr int SlotCount = 3;

    // `help` opens the contents of the help file.
    FrmKestoSound(SoundChoices& choices, SoundPlayer& player, Dialogs& dialogs,
                  std::filesystem::path programFolder, std::function<void()> help,
                  QWidget* parent = nullptr);

    // Adds the "Spoken calls:" choices of `speech`, which OK then keeps.
    void ShowSpeechCalls(SpokenCalls& speech);
    SpeechPanel* SpeechCallsPanel() const { return m_speechPanel; }

    // The window's actions, also driven directly by tests.
    void cmdChange_Click(int slot);
    void cmdTest_Click(int slot);
    void FileSounds_Click(QListWidgetItem* item);
    void lblSelectSound_Click();
    void lstRaceSounds_MouseDown(QListWidgetItem* item);
    void tmrSound_Timer();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();

    int SoundSlotBeingChanged() const { return m_soundSlotBeingChanged; }
    QTimer* tmrSound() const { return m_tmrSound; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void BuildControls();
    void AddRaceWavFiles();
    void ShowSoundChoices();
    void PaintSlot(int slot, QColor color);
    void KeepSpeechCalls();

    SoundChoices& m_choices;
    SoundPlayer& m_player;
    Dialogs& m_dialogs;
    std::filesystem::path m_programFolder;
    std::function<void()> m_help;
    int m_soundSlotBeingChanged = 0;

    QListWidget* m_lstRaceSounds = nullptr;
    std::array<QGroupBox*, SlotCount> m_fraSound{};
    std::array<QCheckBox*, SlotCount> m_chkPlay{};
    std::array<QLabel*, SlotCount> m_lblSound{};
    QLabel* m_lblInstruction = nullptr;
    QLabel* m_lblSelectSound = nullptr;
    QListWidget* m_fileSounds = nullptr;
    QTimer* m_tmrSound = nullptr;
    QVBoxLayout* m_rightColumn = nullptr;
    SpokenCalls* m_speech = nullptr;
    SpeechPanel* m_speechPanel = nullptr;
};

} // namespace kesto
