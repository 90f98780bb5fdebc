#pragma once
// frmKestoSettings, "  Settings": the decoder's port, the lap a race begins
// with, the start delay, the track's name and length, the scale of the cars,
// the minimum lap time and one colour per car ID. OK confirms the lists
// (ConfirmSettings); a colour is saved the moment it is chosen. Opened
// modally from the main window's "Settings" menu.

#include "engine/race_context.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kesto {

// What the settings window needs from the main window.
struct SettingsWindowHooks {
    std::function<void()> composeTitle;       // ComposeTitle: title and race format caption
    std::function<void()> applyIdColors;      // ApplyIdColors: the race screen in the ID colours
    std::filesystem::path devFolder = "/dev"; // where port numbers find their devices
};

class FrmKestoSettings final : public QDialog {
    Q_OBJECT
public:
    static constexpr int Ids = MaxCarIds;

    FrmKestoSettings(RaceContext& ctx, std::filesystem::path programFolder,
                     SettingsWindowHooks hooks, QWidget* parent = nullptr);

    // The window's actions, also driven directly by tests.
    void cmdOK_Click();
    void cmdCancel_Click();
    void lblTrackColor_Click(int id);
    // The tool tip a swatch shows, set whenever the mouse comes over it.
    void lblTrackColor_MouseMove(int id);
    // Copies the 14 swatch colours into IdColor and saves "KestoSettings.dat".
    void SetColorArray();

    // --- what tests look at --------------------------------------------------
    QComboBox* cmbCommPort() const { return m_cmbCommPort; }
    QComboBox* cmbFirstLap() const { return m_cmbFirstLap; }
    QComboBox* cmbDelay() const { return m_cmbDelay; }
    QComboBox* cmbTrackLength() const { return m_cmbTrackLength; }
    QComboBox* cmbScale() const { return m_cmbScale; }
    QComboBox* cmbMinLapTime() const { return m_cmbMinLapTime; }
    QLineEdit* txtTrackName() const { return m_txtTrackName; }
    QLabel* lblTrackColor(int id) const { return m_lblTrackColor[id]; }
    QLabel* lblID(int id) const { return m_lblID[id]; }
    QLabel* lblPortDevice() const { return m_lblPortDevice; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillLists();
    void AddPorts();
    void SelectStoredPositions();
    void SelectPosition(QComboBox* list, int position);
    void ShowSettingsValues();
    void PaintSwatch(int id, int32_t windowsColor);
    void ShowPortDevice();
    void ShowError(const std::string& description);
    bool RaceInProgress() const;

    RaceContext& m_ctx;
    RaceState& m_state;
    std::filesystem::path m_folder;
    SettingsWindowHooks m_hooks;
    // The back colour of each swatch (ID n in entry n), as a Windows colour.
    std::array<int32_t, Ids + 1> m_swatchColor{};
    bool m_closedByPortChoice = false;

    QComboBox* m_cmbCommPort = nullptr;
    QComboBox* m_cmbFirstLap = nullptr;
    QComboBox* m_cmbDelay = nullptr;
    QComboBox* m_cmbTrackLength = nullptr;
    QComboBox* m_cmbScale = nullptr;
    QComboBox* m_cmbMinLapTime = nullptr;
    QLineEdit* m_txtTrackName = nullptr;
    QLabel* m_lblPortDevice = nullptr;
    std::array<QLabel*, Ids + 1> m_lblTrackColor{};
    std::array<QLabel*, Ids + 1> m_lblID{};
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace kesto
