#pragma once
// The main window over a test race with its race control and race tick,
// wired to each other as the program wires them.

#include "display/qt/race_screen_window.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"

#include <filesystem>
#include <memory>

namespace kesto::test {

void WireMainWindow(RaceContext& ctx, const std::filesystem::path& folder,
                    StartSequenceLauncher& launcher, std::unique_ptr<FrmKestoTimer>& window,
                    std::unique_ptr<RaceControl>& control, std::unique_ptr<RaceTick>& tick);

} // namespace kesto::test
