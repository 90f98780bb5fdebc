#include "support/qt/main_window_rig.h"

#include "support/race_rig.h"

#include "app/main_window_load.h"

#include <algorithm>

namespace kesto::test {

MainWindowRig::MainWindowRig(TestRace& race, const std::filesystem::path& folder)
    : parts(race.context, folder, &launcher) {
    QObject::connect(&window, &FrmKestoTimer::unloaded, &window, [this, &race, folder] {
        UnloadMainWindow(race.context, folder);
        ++quits;
    });
}

void MainWindowTest::SetUp() {
    TempFolderTest::SetUp();
    race.port.open = true;
    ArrangeRace(race.state);
    rig = std::make_unique<MainWindowRig>(race, folder);
    rig->window.InitResizer();
    rig->control.ReSet();
    rig->control.StartReset();
}

void MainWindowTest::TearDown() {
    rig.reset();
    TempFolderTest::TearDown();
}

void MainWindowTest::ArrangeRace(RaceState& s) {
    s.Settings.MinLapTime = 2;
    s.Settings.FirstLapCount = 0;
    for (int i = 0; i < MaxCarIds; ++i) {
        s.Settings.IdColor[i] = 0x102030 + i * 0x000101; // distinct, dark
        s.Names.IdName[i] = "Racer " + std::to_string(i + 1);
    }
    s.LapRace = true;
    s.NumberOfLaps = 10;
}

void MainWindowTest::StartRace() {
    rig->control.cmdStart_Click();
    ASSERT_EQ(race.state.Button, StartButton::Abort);
    ASSERT_TRUE(race.state.TimerEnabled);
}

void MainWindowTest::Decoder(const std::string& lines) {
    race.port.Feed(lines);
    // The race timer runs as long as the decoder's clock did.
    const int32_t latest = std::max(m_decoderMs, LatestDecoderTime(lines));
    rig->tick.Timer1_Timer(std::max(10, latest - m_decoderMs));
    m_decoderMs = latest;
}

} // namespace kesto::test
