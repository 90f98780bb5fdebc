#include "app/main_window_parts.h"

namespace kesto {

MainWindowParts::MainWindowParts(RaceContext& ctx, std::filesystem::path programFolder,
                                 StartSequenceLauncher* launcher)
    : m_window(std::make_unique<FrmKestoTimer>(ctx, std::move(programFolder))),
      m_screen(std::make_unique<ObservedRaceScreen>(*m_window, ctx.state)) {
    if (!launcher) {
        m_startWindows = std::make_unique<QtStartSequenceLauncher>(ctx, m_window.get());
        launcher = m_startWindows.get();
    }
    auto* timer = new QtRaceTimer(m_window.get()); // lives as long as the window
    m_control = std::make_unique<RaceControl>(ctx, *m_screen, *launcher, *timer);
    m_tick = std::make_unique<RaceTick>(ctx, *m_control, *m_screen);
    timer->Drive(*m_tick);
    ctx.port.SetInputArrived([timer] { timer->InputArrived(); });
    m_port = &ctx.port;
    m_window->Attach(*m_control);
}

MainWindowParts::~MainWindowParts() {
    m_port->SetInputArrived(nullptr); // the timer goes with the window
}

} // namespace kesto
