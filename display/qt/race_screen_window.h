#pragma once
// frmKestoTimer, the main window: the live race screen. It paints what race
// control and the standings say (RaceScreen) and forwards the operator's
// mouse and keys to the race screen's actions (display/race_screen_actions.h).
// Its files: the controls (race_screen_layout), the menus (race_screen_menus),
// painting (here), the operator's events (race_screen_events.cpp). The windows
// behind the menus are connected by the program (app/).

#include "display/pointer_feedback.h"
#include "display/qt/race_screen_layout.h"
#include "display/qt/race_screen_menus.h"
#include "display/race_screen_actions.h"
#include "display/race_screen_rows.h"
#include "engine/race_context.h"
#include "engine/race_screen.h"
#include "resize/resize_class.h"

#include <QMainWindow>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QKeyEvent;
class QMouseEvent;

namespace kesto {

class RaceControl;
class RacerListModel;

class FrmKestoTimer final : public QMainWindow, public RaceScreen {
    Q_OBJECT
public:
    static constexpr int Rows = MaxCarIds;

    FrmKestoTimer(RaceContext& ctx, std::filesystem::path programFolder, QWidget* parent = nullptr);
    ~FrmKestoTimer() override;

    // Race control, made after the window (it paints through it): Start and
    // the operator's actions act on it.
    void Attach(RaceControl& control);
    const std::filesystem::path& ProgramFolder() const { return m_folder; }
    // The command behind a menu item; the program connects the other windows.
    QAction* Action(MenuCommand command) const { return m_menus.Action(command); }
    // The operator's actions (after Attach).
    RaceScreenActions& Actions() { return *m_actions; }

    // --- RaceScreen ---------------------------------------------------------
    void ResetRows() override;
    void UpdateRaceScreen() override;
    void UpdatePracticeScreen() override;
    void ShowFlag(const std::string& bitmapFile) override;
    void HideFlag() override;
    void ShowRaceOver(bool visible) override;
    void SetClockText(const std::string& text) override;
    void SetClockColor(int32_t windowsColor) override;
    void SetStartButton(StartButton caption) override;
    void EnableMenu(MainMenu menu, bool enabled) override;
    void ComposeTitle() override;
    void ShowLinkAlarm(const std::string& text) override;
    void HideLinkAlarm() override;
    void ShowJournalAlarm(const std::string& text) override;
    void HideJournalAlarm() override;

    // --- shared procedures of the main window -------------------------------
    // ID and name columns in ID order.
    void LoadNames();
    // Fills the 14 name lists from the roster file, each followed by "Empty";
    // without a roster file the lists stay as they are. Returns the notice of
    // a roster read only in part (roster_file.h), empty otherwise.
    std::string LoadRacerLists();
    // Rows in ID order in the colours of the settings.
    void ApplyIdColors();
    // The "Demo" label, shown while demo mode is ticked.
    void SetDemoLabelVisible(bool visible);
    // Records the design layout for the proportional resizer (window load).
    void InitResizer();
    // The pointer over the window; a missing pointer picture gives the default.
    void SetPointer(Pointer pointer);

signals:
    // Exit has closed the window: the program saves what must survive and ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class KeyPreview;

    // Painting (race_screen_window.cpp).
    void Apply(const ScreenUpdate& rows);
    void SetCellText(int row, Cell cell, const std::string& text);
    void SetRowColor(int row, int32_t windowsColor);
    void ShowColumnModes();
    void ShowNameLists();

    // The operator's events, forwarded to the actions (race_screen_events.cpp).
    bool HandleKey(QObject* watched, QKeyEvent* key);
    bool HandleMouse(QObject* watched, QEvent* event);
    void Click(QObject* control);
    void MouseMovedOver(QObject* control);
    void lblClock_MouseDown(Qt::MouseButton button);
    void SetRowFontSize(std::optional<int> size);
    void Form_Resize();
    void mnuExit_Click();

    RaceContext& m_ctx;
    RaceState& m_state;
    std::filesystem::path m_folder;
    RaceControl* m_control = nullptr;
    std::unique_ptr<RaceScreenActions> m_actions;
    Resize_Class m_resizer;
    bool m_exitRequested = false;
    Pointer m_pointer = Pointer::Default;

    RaceScreenControls m_ui;
    RaceScreenMenus m_menus;
    RacerListModel* m_racerList = nullptr; // shared by the 14 name lists
    QObject* m_keyPreview = nullptr;

    // What each row cell shows, so a refresh writes only what changed.
    std::array<std::array<std::string, CellKinds>, Rows + 1> m_cellText{};
    std::array<int32_t, Rows + 1> m_rowColor{};
    std::array<bool, Rows + 1> m_rowPainted{};
    std::string m_clockText;
    int32_t m_clockColor = 0;
    std::string m_bestModeShown = BestLapMode;
    std::string m_lagModeShown = LagBehindMode;
};

// The digit key (0..9) of a key press whatever Shift made of it on the
// keyboard layout, or -1: Qt::Key_0..9 (main row or keypad), the shifted
// symbols of a US main row, and the X11 key codes 10..19 of the main row.
int DigitOfKey(int key, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

} // namespace kesto
