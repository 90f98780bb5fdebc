#pragma once
// The live board in the program: it watches the race screen (every call of
// race control and the tick passes an ObservedRaceScreen on its way to the
// main window), publishes the results when a race closes or a result file is
// opened in the viewers, puts "Live Board..." into the View Data menu and
// switches the board on at start-up when the operator left it on.

#include "web/observed_race_screen.h"
#include "web/qt/live_board.h"
#include "web/qt/live_board_window.h"
#include "web/qt/result_sets.h"

#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QMainWindow;

namespace kesto {

class ResultReports;

class LiveBoardWiring final {
public:
    LiveBoardWiring(RaceContext& ctx, ObservedRaceScreen& screen, ResultReports& reports,
                    std::filesystem::path programFolder, PdfPrinterMaker pdf);
    ~LiveBoardWiring();
    LiveBoardWiring(const LiveBoardWiring&) = delete;
    LiveBoardWiring& operator=(const LiveBoardWiring&) = delete;

    // "&View Data" / "Live Board..." on the main window.
    void AddMenuItem(QMainWindow& window);
    // The operator's choice from the board's file: on, or off (the default).
    void ApplySavedChoice();
    // To hand to ResultReportsOptions::fileOpened.
    void FileOpened(const std::string& path, bool summaryFile);

    LiveBoard& Board() { return m_board; }
    LiveBoardWindow* Window() const { return m_window; }

private:
    void ScreenChanged(ObservedRaceScreen::Change change);
    void PublishDueResults();

    RaceContext& m_ctx;
    ObservedRaceScreen& m_screen;
    ResultReports& m_reports;
    std::filesystem::path m_folder;
    PdfPrinterMaker m_pdf;
    LiveBoard m_board;
    QPointer<LiveBoardWindow> m_window;
    // Results made only while the board is on; noted until then.
    bool m_raceResultsDue = false;
    std::optional<std::pair<std::string, bool>> m_openedDue;
};

} // namespace kesto
