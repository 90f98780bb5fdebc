#include "app/meeting_wiring.h"

#include "display/qt/race_screen_window.h"
#include "engine/race_context.h"

namespace kesto {

MeetingWiring::MeetingWiring(RaceContext& ctx, FrmKestoTimer& window,
                             std::filesystem::path programFolder, RaceCaller& next)
    : m_ctx(ctx), m_window(window), m_desk(std::move(programFolder), m_files, ctx.dialogs, next),
      m_caller(m_desk, next) {}

void MeetingWiring::RaceResumed() {
    if (m_ctx.state.RaceIsOver)
        m_desk.RaceClosed(m_ctx.state);
}

Refusal MeetingWiring::LoadHeat(int heatNumber) {
    if (Refusal refused = m_desk.LoadHeat(heatNumber, m_ctx.state))
        return refused;
    m_window.LoadNames();
    m_window.ComposeTitle();
    return std::nullopt;
}

} // namespace kesto
