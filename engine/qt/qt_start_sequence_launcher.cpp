#include "engine/qt/qt_start_sequence_launcher.h"

#include "engine/qt/countdown_window.h"
#include "engine/qt/start_lights_window.h"

namespace kesto {

void QtStartSequenceLauncher::ShowCountdown(StartSequenceHost& host) {
    {
        FrmKestoCountdown countdown(m_ctx, m_parent);
        countdown.exec();
    } // closed before the lights open
    ShowStartLights(host);
}

void QtStartSequenceLauncher::ShowStartLights(StartSequenceHost& host) {
    FrmKestoFormula1 lights(m_ctx, host, m_parent);
    lights.exec();
}

} // namespace kesto
