#include "app/live_board_wiring.h"

#include "reports/qt/lap_times_window.h"
#include "reports/qt/race_charts_svg.h"
#include "reports/qt/result_reports.h"
#include "reports/qt/summary_window.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

namespace kesto {
namespace {

// The results page shows the two charts one under the other, each its own
// picture so a phone can show it across its width; drawn small enough that
// the text stays readable when it is.
constexpr QSize WebChartSize(800, 450);

std::vector<ResultChart> ChartPictures(const RaceCharts& charts) {
    return {{"Lap Times", RenderLapTimeChartSvg(charts, WebChartSize).toStdString()},
            {"Lap Chart", RenderLapChartSvg(charts, WebChartSize).toStdString()}};
}

} // namespace

LiveBoardWiring::LiveBoardWiring(RaceContext& ctx, ObservedRaceScreen& screen,
                                 ResultReports& reports, std::filesystem::path programFolder,
                                 PdfPrinterMaker pdf)
    : m_ctx(ctx), m_screen(screen), m_reports(reports), m_folder(std::move(programFolder)),
      m_pdf(std::move(pdf)), m_board(ctx.state, screen.Shown()) {
    m_screen.SetObserver([this](ObservedRaceScreen::Change change) { ScreenChanged(change); });
    QObject::connect(&m_board, &LiveBoard::PortChanged, &m_board, [this](quint16 port) {
        if (port != 0)
            PublishDueResults();
    });
}

LiveBoardWiring::~LiveBoardWiring() {
    m_screen.SetObserver({});
    delete m_window.data(); // it shows the board, which goes with this
}

void LiveBoardWiring::AddMenuItem(QMainWindow& window) {
    auto* viewData = window.findChild<QMenu*>(QStringLiteral("mnuViewData"));
    if (!viewData)
        return;
    QAction* item = viewData->addAction(QStringLiteral("Live Board..."));
    item->setObjectName(QStringLiteral("mnuLiveBoard"));
    QObject::connect(item, &QAction::triggered, &window, [this, &window] {
        LiveBoardWindow::ShowModeless(m_window, m_board, m_folder, &window);
    });
}

void LiveBoardWiring::ApplySavedChoice() {
    ApplyLiveBoardSettings(m_board, ReadLiveBoardSettings(m_folder));
}

void LiveBoardWiring::ScreenChanged(ObservedRaceScreen::Change change) {
    m_board.ScreenChanged();
    if (change != ObservedRaceScreen::Change::RaceOver)
        return;
    // The close comes inside a tick: the results are made after it.
    m_raceResultsDue = true;
    QTimer::singleShot(0, &m_board, [this] { PublishDueResults(); });
}

void LiveBoardWiring::FileOpened(const std::string& path, bool summaryFile) {
    m_openedDue = std::pair(path, summaryFile);
    PublishDueResults();
}

void LiveBoardWiring::PublishDueResults() {
    if (!m_board.IsOn())
        return;
    if (m_raceResultsDue) {
        m_raceResultsDue = false;
        m_board.SetRaceResults(RaceResultSet(m_ctx.state, m_pdf, ChartPictures));
    }
    if (m_openedDue) {
        const auto [path, summaryFile] = *m_openedDue;
        m_openedDue.reset();
        m_board.SetOpenedResults(
            OpenedResultSet(m_reports.Book(), path, summaryFile, m_ctx, m_pdf, ChartPictures));
    }
}

} // namespace kesto
