#pragma once
// frmKestoTimer, the main window: the live race screen (14 rows reordered by
// position, the column headers that switch the best and lag columns, the
// clock, flag and start button) with its mouse and keyboard shortcuts, its
// menus and its start-up and shut-down. Race control drives it through the
// RaceScreen interface; the windows behind the menus are plugged in as hooks.

#include "display/qt/row_label.h"
#include "display/race_screen_rows.h"
#include "engine/race_context.h"
#include "engine/race_screen.h"
#include "resize/resize_class.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace kesto {

class FrmKestoTimer;
class RaceControl;
class RaceTick;

// Hands every key pressed in the main window or its controls to the window
// first (the application sees events before their receivers).
class KeyPreview final : public QObject {
    Q_OBJECT
public:
    explicit KeyPreview(FrmKestoTimer* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrmKestoTimer* m_window;
};

// What the menus and shortcuts open. Empty hooks do nothing, so windows that
// do not exist yet can be plugged in later without touching this window.
struct MainWindowHooks {
    std::function<void()> openResults;     // "&File" / "&Open"
    std::function<void()> showRaceFormat;  // "R&ace Format" / "Race Format" (modal)
    std::function<void()> showLapTimes;    // "&View Data" / "Lap Times"
    std::function<void()> showSummary;     // "&View Data" / "Summary"
    std::function<void()> showHits;        // "&View Data" / "Hits" (not modal)
    std::function<void()> showRacers;      // "&Racers" / "Racers" (not modal)
    std::function<void()> showSound;       // "&Settings" / "S&ound" (modal)
    std::function<void()> showSettings;    // "&Settings" / "Settings" (modal)
    std::function<void()> showHelp;        // "&Help" / "Help"
    std::function<void()> showDiagnostic;  // "&Help" / "Diagnostic..." (modal)
    std::function<void()> showBrowser;     // "&Help" / "Lapmark Web site..." (modal)
    std::function<void()> showAbout;       // "&Help" / "About..." (modal)
    std::function<void()> showSendCommand; // Ctrl+Shift+B, the raw-record window (not modal)
    // "&View Data" / "Rejected Passes" (not modal)
    std::function<void()> showRejectedPasses;
    // The lap viewer's grid hidden while the lap statistics are sorted.
    std::function<void(bool visible)> viewerGridVisible;
    // One system beep (a best lap cleared by a click); QApplication::beep when empty.
    std::function<void()> beep;
    // Ends the program after the window has unloaded; QCoreApplication::quit when empty.
    std::function<void()> quit;
};

// The mouse pointer the window shows.
enum class Pointer { Default, Hand, Racer };

class FrmKestoTimer final : public QMainWindow, public RaceScreen {
    Q_OBJECT
public:
    static constexpr int Rows = MaxCarIds;
    static constexpr int DesignWidthTwips = 11700;
    static constexpr int DesignHeightTwips = 5295;

    FrmKestoTimer(RaceContext& ctx, std::filesystem::path programFolder, QWidget* parent = nullptr);
    ~FrmKestoTimer() override;

    // Race control and the tick, made after the window (they drive it).
    void Attach(RaceControl& control, RaceTick& tick);
    MainWindowHooks& Hooks() { return m_hooks; }
    const std::filesystem::path& ProgramFolder() const { return m_folder; }

    // --- RaceScreen ---------------------------------------------------------
    void LoadNames() override;
    void ClearRowCells() override;
    void PaintRowsInIdOrder() override;
    void ShowFlag(const std::string& bitmapFile) override;
    void HideFlag() override;
    void ShowRaceOver(bool visible) override;
    void SetClockText(const std::string& text) override;
    void SetClockColor(int32_t windowsColor) override;
    void SetStartButton(StartButton caption) override;
    void EnableStartButton(bool enabled) override;
    void EnableMenu(MainMenu menu, bool enabled) override;
    void SetRaceTimer(bool running) override;
    void ComposeTitle() override;
    void UpdateRaceScreen() override;
    void UpdatePracticeScreen() override;
    void ShowLinkAlarm(const std::string& text) override;
    void HideLinkAlarm() override;

    // --- shared procedures of the main window -------------------------------
    // Fills the 14 name lists from the roster file, each followed by "Empty";
    // without a roster file the lists stay as they are.
    void LoadRacerLists();
    // Rows in ID order in the colours of the settings.
    void ApplyIdColors() { PaintRowsInIdOrder(); }
    // The "Demo" label, shown while demo mode is ticked.
    void SetDemoLabelVisible(bool visible);
    // Records the design layout for the proportional resizer (window load).
    void InitResizer();
    // The pointer over the window; a missing pointer picture gives the default.
    void SetPointer(Pointer pointer);

    // --- operator actions (also driven directly by tests) ------------------
    void cmdStart_Click();
    void lblBestLap_Click();
    void lblLag_Click();
    void lblBest_Click(int k);
    void lblName_Click(int k);
    void Select_Name_Click(int k);
    void Select_Name_LostFocus(int k);
    void lblRaceFormat_Click();
    void imgLapmark_Click();
    void lblClock_MouseDown(Qt::MouseButton button);
    // `key` is a Qt key; `digit` the digit key 0..9 pressed (-1 for none),
    // whatever the keyboard layout made of it with Shift.
    void Form_KeyDown(int key, int digit, Qt::KeyboardModifiers modifiers);
    void Form_Resize();
    void CloseComboNames();
    void ReduceFontSize();
    void IncreaseFontSize();
    // Exit: asks about unsaved results (not in practice), then unloads.
    void mnuExit_Click();
    // Unloading: port closed, lag mode and racer names saved. True when the
    // window may close (only after Exit).
    bool Form_Unload();

    // --- what tests look at --------------------------------------------------
    RowLabel* lblID(int k) const { return m_lblID[k]; }
    RowLabel* lblName(int k) const { return m_lblName[k]; }
    QComboBox* Select_Name(int k) const { return m_selectName[k]; }
    RowLabel* lblLapNum(int k) const { return m_lblLapNum[k]; }
    RowLabel* lblLapTime(int k) const { return m_lblLapTime[k]; }
    QLabel* lblLapTimeHeader() const { return m_lblLapTimeHeader; } // lblLapTime(0)
    RowLabel* lblLagTime(int k) const { return m_lblLagTime[k]; }
    RowLabel* lblBest(int k) const { return m_lblBest[k]; }
    QLabel* lblBestLap() const { return m_lblBestLap; }
    QLabel* lblLag() const { return m_lblLag; }
    QLabel* lblRaceFormat() const { return m_lblRaceFormat; }
    QLabel* lblClock() const { return m_lblClock; }
    QLabel* lblRaceOver() const { return m_lblRaceOver; }
    QLabel* lblDemo() const { return m_lblDemo; }
    QLabel* lblLinkAlarm() const { return m_lblLinkAlarm; }
    QLabel* imgFlag() const { return m_imgFlag; }
    QLabel* imgLapmark() const { return m_imgLapmark; }
    QPushButton* cmdStart() const { return m_cmdStart; }
    QTimer* Timer1() const { return m_timer1; }
    QWidget* Canvas() const { return m_canvas; }
    QMenu* Menu(MainMenu menu) const;
    Pointer CurrentPointer() const { return m_pointer; }
    const Resize_Class& Resizer() const { return m_resizer; }
    // Pixels of a length in twips at this window's resolution, and back.
    int ToPixels(double twips) const;
    double ToTwips(int pixels) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class KeyPreview;
    enum class Cell { Id, Name, LapNum, LapTime, Lag, Best };
    static constexpr int CellKinds = 6;

    void BuildControls();
    void BuildMenus();
    QLabel* MakeLabel(const QString& objectName, int left, int top, int width, int height,
                      double pointSize, Qt::Alignment alignment);
    void Place(QWidget* widget, int left, int top, int width, int height);

    void Apply(const ScreenUpdate& rows);
    void SetCellText(int row, Cell cell, const std::string& text);
    void SetRowColor(int row, int32_t windowsColor);
    RowLabel* CellLabel(int row, Cell cell) const;
    void RefreshNow();
    bool ClockStopped() const;
    bool Idle() const;
    void ClearBestLapOf(int id);

    bool HandleMouse(QObject* watched, QEvent* event);
    bool HandleKey(QObject* watched, QEvent* event);
    void MouseMovedOver(QObject* watched);
    void SetRowFontSize(double size);
    void Timer1_Timer();
    void Beep();
    void ShowError(const std::string& description);

    RaceContext& m_ctx;
    RaceState& m_state;
    std::filesystem::path m_folder;
    RaceControl* m_control = nullptr;
    RaceTick* m_tick = nullptr;
    MainWindowHooks m_hooks;
    Resize_Class m_resizer;
    // The lag column mode as last read from the lag file (ComposeTitle).
    std::string m_lagModeSetting = LagBehindMode;
    bool m_exitRequested = false;
    bool m_unloaded = false;
    Pointer m_pointer = Pointer::Default;
    QElapsedTimer m_sinceTimerStart;
    qint64 m_msTicked = 0; // of m_sinceTimerStart, handed to the ticks so far

    // What each row cell shows, so a refresh writes only what changed.
    std::array<std::array<std::string, CellKinds>, Rows + 1> m_cellText{};
    std::array<int32_t, Rows + 1> m_rowColor{};
    std::array<bool, Rows + 1> m_rowPainted{};
    std::string m_clockText;
    int32_t m_clockColor = 0;

    QWidget* m_canvas = nullptr;
    // Row controls, index 1..14 (index 0 unused).
    std::array<RowLabel*, Rows + 1> m_lblID{};
    std::array<RowLabel*, Rows + 1> m_lblName{};
    std::array<QComboBox*, Rows + 1> m_selectName{};
    std::array<RowLabel*, Rows + 1> m_lblLapNum{};
    std::array<RowLabel*, Rows + 1> m_lblLapTime{};
    std::array<RowLabel*, Rows + 1> m_lblLagTime{};
    std::array<RowLabel*, Rows + 1> m_lblBest{};
    QLabel* m_lblLapTimeHeader = nullptr; // lblLapTime(0), the "Lap Time" header
    QLabel* m_lblHeaderID = nullptr;
    QLabel* m_lblRaceFormat = nullptr;
    QLabel* m_lblLapNumber = nullptr;
    QLabel* m_lblLag = nullptr;
    QLabel* m_lblBestLap = nullptr;
    QLabel* m_imgLapmark = nullptr;
    QLabel* m_imgFlag = nullptr;
    QLabel* m_lblRaceOver = nullptr;
    QLabel* m_lblClock = nullptr;
    QLabel* m_lblDemo = nullptr;
    QLabel* m_lblLinkAlarm = nullptr; // the decoder link's alarm banner
    QPushButton* m_cmdStart = nullptr;
    QTimer* m_timer1 = nullptr;
    KeyPreview* m_keyFilter = nullptr;

    QMenu* m_mnuFile = nullptr;
    QMenu* m_mnuRaceFormat = nullptr;
    QMenu* m_mnuViewData = nullptr;
    QMenu* m_mnuRacers = nullptr;
    QMenu* m_mnuSettings = nullptr;
    QMenu* m_mnuHelp = nullptr;
};

// Windows colour value (red in the low byte) to RGB components.
int RedOf(int32_t windowsColor);
int GreenOf(int32_t windowsColor);
int BlueOf(int32_t windowsColor);

// The digit key (0..9) of a key press whatever Shift made of it on the
// keyboard layout, or -1: Qt::Key_0..9 (main row or keypad), the shifted
// symbols of a US main row, and the X11 key codes 10..19 of the main row.
int DigitOfKey(int key, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

} // namespace kesto
