#include "app/meeting_wiring.h"

#include "config/roster_file.h"
#include "display/qt/race_screen_window.h"
#include "engine/race_context.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace kesto {

MeetingWiring::MeetingWiring(RaceContext& ctx, FrmKestoTimer& window,
                             std::filesystem::path programFolder, RaceCaller& next)
    : m_ctx(ctx), m_window(window), m_files(ctx), m_desk(programFolder, m_files, ctx.dialogs, next),
      m_caller(m_desk, next), m_folder(std::move(programFolder)) {
    // A heat closed or the meeting changed: the open windows show it.
    m_desk.OnChanged([this] {
        if (m_meetingWindow)
            m_meetingWindow->Refresh();
        if (m_standingsWindow)
            m_standingsWindow->Refresh();
        if (m_alsoChanged)
            m_alsoChanged();
    });
}

void MeetingWiring::Restore() {
    m_desk.Restore();
    if (m_alsoChanged)
        m_alsoChanged();
}

void MeetingWiring::AddMenuItem(QMainWindow& window) {
    auto* racers = window.findChild<QMenu*>(QStringLiteral("mnuRacersMenu"));
    if (!racers)
        return;
    QAction* item = racers->addAction(QStringLiteral("Meeting..."));
    item->setObjectName(QStringLiteral("mnuMeeting"));
    QObject::connect(item, &QAction::triggered, &window, [this] { ShowMeeting(); });
}

void MeetingWiring::ShowMeeting() {
    if (!m_meetingWindow) {
        MeetingWindowHooks hooks;
        hooks.loadHeat = [this](int heat) { return LoadHeat(heat); };
        hooks.showStandings = [this] { ShowStandings(); };
        hooks.roster = ReadRoster(m_folder).value_or(std::vector<std::string>{});
        m_meetingWindow = new FrmMeeting(m_desk, m_ctx.dialogs, m_folder, hooks, &m_window);
        m_meetingWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_meetingWindow->show();
    m_meetingWindow->raise();
}

void MeetingWiring::ShowStandings() {
    if (!m_standingsWindow) {
        const ResultPrinters printers = QtResultPrinters();
        m_standingsWindow = new FrmStandings(
            m_desk, m_ctx.dialogs, StandingsPrinters{printers.defaultPrinter, printers.pdfPrinter},
            &m_window);
        m_standingsWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_standingsWindow->Refresh();
    m_standingsWindow->show();
    m_standingsWindow->raise();
}

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
