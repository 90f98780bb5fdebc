#pragma once
// The main window over a test race, wired as the program wires it
// (app/main_window_parts.h) with start lights that go green at once; after
// Exit it saves what the program saves and counts the program's end instead
// of ending it. Its controls are found by their object names. MainWindowTest
// is the fixture of the window tests: a 10-lap race of 14 named cars in
// distinct colours on the reset screen, in a folder of the test's.

#include "app/main_window_parts.h"
#include "display/qt/row_label.h"
#include "engine/quiet_platform.h"
#include "support/qt/find_child.h"
#include "support/temp_folder.h"
#include "support/test_doubles.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <string>

namespace kesto::test {

struct MainWindowRig {
    MainWindowRig(TestRace& race, const std::filesystem::path& folder);

    RowLabel* Row(const char* array, int k) const { return Child<RowLabel>(&window, array, k); }
    QLabel* Label(const char* name) const { return Child<QLabel>(&window, name); }
    QComboBox* NameList(int k) const { return Child<QComboBox>(&window, "Select_Name", k); }
    QPushButton* StartButton() const { return Child<QPushButton>(&window, "cmdStart"); }
    QTimer* Timer1() const { return Child<QTimer>(&window, "Timer1"); }
    QMenu* Menu(const char* name) const { return Child<QMenu>(&window, name); }
    void Trigger(const char* action) const { Child<QAction>(&window, action)->trigger(); }

    InstantStart launcher;
    MainWindowParts parts;
    FrmKestoTimer& window = parts.Window();
    RaceControl& control = parts.Control();
    RaceTick& tick = parts.Tick();
    int quits = 0; // the program would have ended
};

class MainWindowTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The race before the window is made; the default is described above.
    virtual void ArrangeRace(RaceState& state);

    // Start pressed: the race is timed at once.
    void StartRace();
    // Decoder lines, then one tick of the race timer.
    void Decoder(const std::string& lines);

    FrmKestoTimer& Window() const { return rig->window; }
    RowLabel* Row(const char* array, int k) const { return rig->Row(array, k); }
    QLabel* Label(const char* name) const { return rig->Label(name); }

    TestRace race;
    std::unique_ptr<MainWindowRig> rig;

private:
    int32_t m_decoderMs = 0; // the decoder time the lines fed so far reached
};

} // namespace kesto::test
