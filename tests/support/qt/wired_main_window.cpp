#include "support/qt/wired_main_window.h"

namespace kesto::test {

void WireMainWindow(RaceContext& ctx, const std::filesystem::path& folder,
                    StartSequenceLauncher& launcher, std::unique_ptr<FrmKestoTimer>& window,
                    std::unique_ptr<RaceControl>& control, std::unique_ptr<RaceTick>& tick) {
    window = std::make_unique<FrmKestoTimer>(ctx, folder);
    control = std::make_unique<RaceControl>(ctx, *window, launcher);
    tick = std::make_unique<RaceTick>(ctx, *control, *window);
    window->Attach(*control, *tick);
}

} // namespace kesto::test
