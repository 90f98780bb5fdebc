#pragma once
// The result reports as the race screen offers them: the summary and lap
// times viewers (created on first use, unloaded when closed), their fills,
// files, printouts and the switch between them. The race screen calls the
// five operations below from its menus; the viewers' own menus come back
// here. Owns the reports' data (a ResultBook, which outlives the windows) and
// the two viewer windows that show it.

#include "base/desktop_shell.h"
#include "base/printer.h"
#include "engine/race_context.h"
#include "reports/result_book.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QWidget;

namespace kesto {

class FrmCharts;
class FrmKestoSummary;
class FrmKestoViewLaps;
class TextReportWindow;

// Where printouts go: the default printer, or a PDF file for "Save as PDF...".
// Either may return null when it cannot make a printer; that is a print failure.
struct ResultPrinters {
    std::function<std::unique_ptr<Printer>()> defaultPrinter;
    std::function<std::unique_ptr<Printer>(const std::string& pdfPath)> pdfPrinter;
};

// QPrinter on the system's default printer, and QPrinter writing PDF files.
ResultPrinters QtResultPrinters();

struct ResultReportsOptions {
    // The lap times window blocks the other windows while it is open; tests
    // switch this off.
    bool lapWindowModal = true;
    // Owner of the viewer windows (they stay separate top-level windows).
    QWidget* parent = nullptr;
    // Told when a lap or summary grid file has been read into the book,
    // before its viewer shows it (the lap viewer blocks until closed).
    std::function<void(const std::string& path, bool summaryFile)> fileOpened;
};

class ResultReports final : public QObject {
    Q_OBJECT
public:
    // `shell` hands a ".txt" report to the desktop's viewer; where the desktop
    // cannot open it, the user is told and it is shown in a window of the timer.
    ResultReports(RaceContext& ctx, std::string programFolder, DesktopShell& shell,
                  ResultPrinters printers, ResultReportsOptions options = {});
    ~ResultReports() override;

    // Menu "Summary" of the race screen and "&Refresh" of the summary window.
    void mnuSummary_Click();
    // Menu "Lap Times" of the race screen; refresh and sorting of the lap window.
    void mnuLapTimes_Click();
    // Menu "&Open" of the race screen and "Open" of both viewers.
    void mnuOpen_Click();
    // "Print" of the summary window and "&Print" of the lap times window.
    // With "Print with Charts" ticked (in both viewers' File menus, off at
    // first) the charts of the printed race follow on a landscape page of
    // their own; "Save as PDF..." always has that page.
    void PrintSummary();
    void PrintLaps();
    // Menu "Charts" of the race screen's View Data: the charts window, not modal.
    void ShowCharts();

    // The lap viewer's grid hidden while the lap statistics are sorted
    // (subSortLapTimes), so it never shows half-sorted times.
    void ViewerGridVisible(bool visible);

    // The viewers while they are loaded, else null.
    FrmKestoSummary* SummaryWindow() const { return m_summary; }
    FrmKestoViewLaps* LapTimesWindow() const { return m_laps; }
    FrmCharts* ChartsWindow() const;
    QAction* mnuPrintCharts() const { return m_printCharts; }
    // The timer's own window for a text report the desktop could not open.
    TextReportWindow* TextWindow() const;

    ResultBook& Book() { return m_book; }
    ResultFileState& Files() { return m_book.Files(); }
    LapTableState& LapTable() { return m_book.LapTable(); }

private:
    FrmKestoSummary* EnsureSummaryWindow();
    FrmKestoViewLaps* EnsureLapWindow();
    void UnloadSummaryWindow();
    void UnloadLapWindow();
    template <class Window> void Unload(QPointer<Window>& slot);
    void ShowLapWindow();
    void SaveSummary();
    void SaveLaps();
    void SortLaps(bool byLapTime);
    void SaveSummaryPdf();
    void SaveLapsPdf();
    void OpenLapFile(const std::string& path, const std::string& text);
    void ShowTextReport(const std::string& path);
    void OpenSummaryFile(const std::string& path, const std::string& text);
    // The charts page of a printout (SVG), empty for none: the race's charts,
    // none for an opened summary file (it holds no laps) or a race without laps.
    std::string ChartsPage(bool summary, bool pdf) const;

    RaceContext& m_ctx;
    std::string m_programFolder;
    DesktopShell& m_shell;
    ResultPrinters m_printers;
    ResultReportsOptions m_options;
    ResultBook m_book;
    QPointer<FrmKestoSummary> m_summary;
    QPointer<FrmKestoViewLaps> m_laps;
    QPointer<TextReportWindow> m_text;
    QPointer<FrmCharts> m_charts;
    QAction* m_printCharts; // shared by both viewers' File menus
};

} // namespace kesto
