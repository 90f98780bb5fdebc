#pragma once
// frmMeeting, Racers -> "Meeting...": the race meeting on the operator's desk.
// The set-up (name, date, heat format, rounds, heat size, scoring with its
// points list, finals), the entries taken from the roster with their
// transponders, and the heats in running order with the proposed one marked.
// Every button is one operation of the meeting desk, saved at once; refusals
// are shown through the dialogs seam.

#include "base/dialogs.h"
#include "meeting/finals.h"
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_file.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kesto {

struct MeetingWindowHooks {
    // "Load heat": the heat onto the race screen.
    std::function<Refusal(int heatNumber)> loadHeat;
    std::function<void()> showStandings;
    std::vector<std::string> roster; // the racers to enter from
};

class FrmMeeting final : public QDialog {
    Q_OBJECT
public:
    FrmMeeting(MeetingDesk& desk, Dialogs& dialogs, std::filesystem::path programFolder,
               MeetingWindowHooks hooks, QWidget* parent = nullptr);

    // Shows what the desk holds now (the program calls it when the desk changed).
    void Refresh();

private:
    QWidget* MakeSetup();
    QWidget* MakeEntries();
    QWidget* MakeHeats();
    void ShowSetup(const Meeting& meeting);
    // The set-up fields onto `meeting`; the finals' set-up apart.
    void TakeSetup(Meeting& meeting) const;
    FinalsSetup TakeFinals() const;
    void ShowHeats(const Meeting& meeting);
    void ShowHeatRacers();
    int SelectedHeat() const;
    int SelectedRacer() const;
    // Runs a change on the desk and shows a refusal.
    void Act(const std::function<Refusal(Meeting&)>& change);
    void Tell(const Refusal& refusal);

    void cmdNewMeeting_Click();
    void cmdOpenMeeting_Click();
    void cmdAddEntry_Click();
    void cmdLoadHeat_Click();
    void cmdNoShow_Click();
    void cmdMoveRacer_Click();

    MeetingDesk& m_desk;
    Dialogs& m_dialogs;
    std::filesystem::path m_folder;
    MeetingWindowHooks m_hooks;

    QLabel* m_lblMeetingFile = nullptr;
    QLineEdit* m_txtName = nullptr;
    QLineEdit* m_txtDate = nullptr;
    QComboBox* m_cmbHeatFormat = nullptr;
    QSpinBox* m_spnHeatCount = nullptr;
    QSpinBox* m_spnRounds = nullptr;
    QSpinBox* m_spnHeatSize = nullptr;
    QComboBox* m_cmbScoring = nullptr;
    QComboBox* m_cmbFinish = nullptr;
    QSpinBox* m_spnCountedRounds = nullptr;
    QLineEdit* m_txtPoints = nullptr;
    QCheckBox* m_chkDropWorst = nullptr;
    QLineEdit* m_txtMainSizes = nullptr;
    QSpinBox* m_spnBumpUp = nullptr;
    QListWidget* m_lstRoster = nullptr;
    QSpinBox* m_spnTransponder = nullptr;
    QTableWidget* m_grdEntries = nullptr;
    QTableWidget* m_grdHeats = nullptr;
    QComboBox* m_cmbHeatRacer = nullptr;
    QComboBox* m_cmbMoveTo = nullptr;
    QLabel* m_lblNextHeat = nullptr;
    std::vector<QPushButton*> m_needMeeting; // enabled only while a meeting is open
};

} // namespace kesto
