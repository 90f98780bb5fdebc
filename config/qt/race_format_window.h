#pragma once
// frmKestoRaceFormat, "  Race Format": practice, a race over a number of laps
// or over a number of minutes, and demo mode. It shows the race format held by
// the race state, with the list positions and options saved in
// "KestoRaceFormatSettings.dat". OK saves and applies the choices; Cancel or
// closing puts the state back to the saved ones. Ticking "Demo Mode" switches
// demo mode and the main window's "Demo" label at once. Either way the main
// window's title is composed again as the window closes, so its caption and
// "Demo" label show the format in force. Opened modally from the main
// window's "Race Format" menu.

#include "base/dialogs.h"
#include "config/data_files.h"
#include "engine/race_state.h"

#include <QDialog>

#include <filesystem>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kesto {

// What the race format window needs from the main window.
struct RaceFormatWindowHooks {
    std::function<void(bool visible)> setDemoLabelVisible; // the main window's "Demo" label
    std::function<void()> composeTitle; // ComposeTitle, after OK and after Cancel
};

class FrmKestoRaceFormat final : public QDialog {
    Q_OBJECT
public:
    FrmKestoRaceFormat(RaceState& state, Dialogs& dialogs, std::filesystem::path programFolder,
                       RaceFormatWindowHooks hooks, QWidget* parent = nullptr);

    // The window's actions, also driven directly by tests.
    void optPractice_Click();
    void optLapRace_Click();
    void optTimedRace_Click();
    void chkDemo_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // Cancel, Escape and the close box: the state goes back to the saved
    // choices and the title is composed from them.
    void reject() override;

    // The choices as the controls show them.
    RaceFormatChoices Choices() const;

    // --- what tests look at --------------------------------------------------
    QRadioButton* optPractice() const { return m_optPractice; }
    QRadioButton* optLapRace() const { return m_optLapRace; }
    QRadioButton* optTimedRace() const { return m_optTimedRace; }
    QComboBox* cmbSelectNoOfLaps() const { return m_cmbSelectNoOfLaps; }
    QComboBox* cmbSelectTime() const { return m_cmbSelectTime; }
    QCheckBox* chkDemo() const { return m_chkDemo; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

private:
    void BuildControls();
    void Form_Load();
    void ShowChoices(const RaceFormatChoices& choices);
    void SelectPosition(QComboBox* list, int position);
    void ShowError(const std::string& description);

    RaceState& m_state;
    Dialogs& m_dialogs;
    std::filesystem::path m_folder;
    RaceFormatWindowHooks m_hooks;
    bool m_confirmed = false;

    QGroupBox* m_frmRaceFormat = nullptr;
    QRadioButton* m_optPractice = nullptr;
    QRadioButton* m_optLapRace = nullptr;
    QRadioButton* m_optTimedRace = nullptr;
    QComboBox* m_cmbSelectNoOfLaps = nullptr;
    QComboBox* m_cmbSelectTime = nullptr;
    QCheckBox* m_chkDemo = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace kesto
