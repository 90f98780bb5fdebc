#include "config/qt/race_format_window.h"

#include "config/race_format_confirm.h"
#include "config/race_format_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kesto {

namespace {

const char* const InvalidPositionText = "Invalid property value";

QRadioButton* MakeOption(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* option = new QRadioButton(QLatin1String(caption), parent);
    option->setObjectName(QLatin1String(name));
    option->setToolTip(QLatin1String(tip));
    return option;
}

QComboBox* MakeList(QWidget* parent, const char* name, const char* tip) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setToolTip(QLatin1String(tip));
    list->setMaxVisibleItems(16);
    list->setMinimumWidth(110);
    return list;
}

} // namespace

FrmKestoRaceFormat::FrmKestoRaceFormat(RaceState& state, Dialogs& dialogs,
                                       std::filesystem::path programFolder,
                                       RaceFormatWindowHooks hooks, QWidget* parent)
    : QDialog(parent), m_state(state), m_dialogs(dialogs), m_folder(std::move(programFolder)),
      m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("frmKestoRaceFormat"));
    setWindowTitle(QStringLiteral("  Race Format"));
    setModal(true);
    BuildControls();
    Form_Load();
}

void FrmKestoRaceFormat::BuildControls() {
    m_frmRaceFormat = new QGroupBox(QStringLiteral("Select Race Format"), this);
    m_frmRaceFormat->setObjectName(QStringLiteral("frmRaceFormat"));
    m_optPractice = MakeOption(m_frmRaceFormat, "optPractice", "Practice", "Unlimited Race time");
    m_optLapRace = MakeOption(m_frmRaceFormat, "optLapRace", "Race, Laps", "Select No of Laps");
    m_cmbSelectNoOfLaps = MakeList(m_frmRaceFormat, "cmbSelectNoOfLaps", "Select No of Laps");
    for (const int16_t laps : LapsList())
        m_cmbSelectNoOfLaps->addItem(QString::number(laps));
    m_optTimedRace =
        MakeOption(m_frmRaceFormat, "optTimedRace", "Race, Minutes", "Select time in minutes");
    m_cmbSelectTime = MakeList(m_frmRaceFormat, "cmbSelectTime", "Select time in minutes");
    for (const int32_t minutes : MinutesList())
        m_cmbSelectTime->addItem(QString::number(minutes));
    // Before a choice the minutes list reads "Select Time" (OK insists on one).
    m_cmbSelectTime->setPlaceholderText(QLatin1String(SelectTimeText));
    m_chkDemo = new QCheckBox(QStringLiteral("Demo Mode"), m_frmRaceFormat);
    m_chkDemo->setObjectName(QStringLiteral("chkDemo"));
    m_chkDemo->setToolTip(QStringLiteral("Will generate lap times automatically"));

    auto* grid = new QGridLayout(m_frmRaceFormat);
    grid->addWidget(m_optPractice, 0, 0);
    grid->addWidget(m_optLapRace, 1, 0);
    grid->addWidget(m_cmbSelectNoOfLaps, 1, 1);
    grid->addWidget(m_optTimedRace, 2, 0);
    grid->addWidget(m_cmbSelectTime, 2, 1);
    grid->addWidget(m_chkDemo, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);

    m_cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto* root = new QVBoxLayout(this);
    root->addWidget(m_frmRaceFormat);
    root->addLayout(buttons);

    connect(m_optPractice, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optPractice_Click();
    });
    connect(m_optLapRace, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optLapRace_Click();
    });
    connect(m_optTimedRace, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optTimedRace_Click();
    });
    // Like its click step, a change of the box's state by code runs it too.
    connect(m_chkDemo, &QCheckBox::toggled, this, &FrmKestoRaceFormat::chkDemo_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &FrmKestoRaceFormat::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &FrmKestoRaceFormat::cmdCancel_Click);
}

void FrmKestoRaceFormat::Form_Load() {
    // The race state's format first, so a file that cannot be read (or reads
    // only in part) leaves the controls showing what the timer runs on.
    RaceFormatChoices choices = RaceFormatChoicesOf(m_state);
    std::string error;
    if (!ReadRaceFormat(m_folder, choices, &error))
        ShowError(error);
    // Demo mode is live in the race state: the port dialog may have ticked it
    // without saving, and that tick holds until the window is cancelled.
    choices.DemoMode = m_state.DemoMode ? 1 : 0;
    ShowChoices(choices);
}

void FrmKestoRaceFormat::ShowChoices(const RaceFormatChoices& choices) {
    SelectPosition(m_cmbSelectNoOfLaps, choices.NumberOfLapsIndex);
    SelectPosition(m_cmbSelectTime, choices.RaceMinutesIndex);
    // One group of options set in the order timed, laps, practice: the last
    // one switched on wins; with none on, practice.
    QRadioButton* on = m_optPractice;
    if (!choices.PracticeMode && choices.LapRace)
        on = m_optLapRace;
    else if (!choices.PracticeMode && choices.TimedRace)
        on = m_optTimedRace;
    if (on->isChecked()) {
        // Already on: its click step still sets the lists.
        if (on == m_optPractice)
            optPractice_Click();
        else if (on == m_optLapRace)
            optLapRace_Click();
        else
            optTimedRace_Click();
    }
    on->setChecked(true);
    m_chkDemo->setChecked(choices.DemoMode != 0);
}

void FrmKestoRaceFormat::SelectPosition(QComboBox* list, int position) {
    if (position < -1 || position >= list->count()) {
        list->setCurrentIndex(-1);
        ShowError(InvalidPositionText);
        return;
    }
    list->setCurrentIndex(position);
}

RaceFormatChoices FrmKestoRaceFormat::Choices() const {
    RaceFormatChoices choices;
    choices.NumberOfLapsIndex = static_cast<int16_t>(m_cmbSelectNoOfLaps->currentIndex());
    choices.RaceMinutesIndex = static_cast<int16_t>(m_cmbSelectTime->currentIndex());
    choices.TimedRace = m_optTimedRace->isChecked();
    choices.LapRace = m_optLapRace->isChecked();
    choices.PracticeMode = m_optPractice->isChecked();
    choices.DemoMode = m_chkDemo->isChecked() ? 1 : 0;
    return choices;
}

// --- actions -------------------------------------------------------------------------

void FrmKestoRaceFormat::optPractice_Click() {
    m_cmbSelectNoOfLaps->setEnabled(false);
    m_cmbSelectTime->setEnabled(false);
}

void FrmKestoRaceFormat::optLapRace_Click() {
    m_cmbSelectNoOfLaps->setEnabled(true);
    m_cmbSelectTime->setEnabled(false);
}

void FrmKestoRaceFormat::optTimedRace_Click() {
    m_cmbSelectNoOfLaps->setEnabled(false);
    m_cmbSelectTime->setEnabled(true);
}

void FrmKestoRaceFormat::chkDemo_Click() {
    const bool ticked = m_chkDemo->isChecked();
    m_state.DemoMode = ticked;
    if (m_hooks.setDemoLabelVisible)
        m_hooks.setDemoLabelVisible(ticked);
}

void FrmKestoRaceFormat::cmdOK_Click() {
    if (m_optTimedRace->isChecked() && m_cmbSelectTime->currentIndex() < 0) {
        ShowError(PleaseSelectTimeText);
        m_cmbSelectTime->setFocus();
        return;
    }
    // A lap race needs its number of laps as much as a timed race its minutes.
    if (m_optLapRace->isChecked() && m_cmbSelectNoOfLaps->currentIndex() < 0) {
        ShowError(PleaseSelectLapsText);
        m_cmbSelectNoOfLaps->setFocus();
        return;
    }
    std::string error;
    if (!ConfirmRaceFormat(m_state, Choices(), m_folder, &error))
        ShowError(error);
    m_confirmed = true;
    accept();
    if (m_hooks.composeTitle)
        m_hooks.composeTitle();
}

void FrmKestoRaceFormat::cmdCancel_Click() {
    reject();
}

void FrmKestoRaceFormat::reject() {
    // Unconfirmed choices end with the window, and the main window's caption
    // and "Demo" label go back to the format in force with them.
    if (m_confirmed) {
        QDialog::reject();
        return;
    }
    ReloadRaceFormat(m_state, m_folder);
    QDialog::reject();
    if (m_hooks.composeTitle)
        m_hooks.composeTitle();
}

void FrmKestoRaceFormat::ShowError(const std::string& description) {
    Message box;
    box.text = description;
    m_dialogs.Show(box);
}

} // namespace kesto
