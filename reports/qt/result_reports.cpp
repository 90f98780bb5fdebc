#include "reports/qt/result_reports.h"

#include "engine/positions.h"
#include "reports/qt/charts_window.h"
#include "reports/qt/grid_view.h"
#include "reports/qt/lap_times_window.h"
#include "reports/qt/qt_printer.h"
#include "reports/qt/race_charts_svg.h"
#include "reports/qt/summary_window.h"
#include "reports/qt/text_report_window.h"
#include "reports/report_messages.h"
#include "reports/result_saving.h"
#include "reports/summary_report.h"

#include <QAction>
#include <QMenu>

namespace kesto {
namespace {

// A landscape page's shape, in SVG units; the printer scales it to the page,
// so this also sets how large the text comes out (about 7 points on A4).
constexpr QSize ChartsPageSize(1060, 750);

// The shared item goes right below "Save as PDF..." of a viewer's File menu.
void AddBelow(QAction* item, QAction* above) {
    for (QObject* owner : above->associatedObjects()) {
        auto* menu = qobject_cast<QMenu*>(owner);
        if (!menu)
            continue;
        const QList<QAction*> actions = menu->actions();
        const qsizetype at = actions.indexOf(above);
        menu->insertAction(at + 1 < actions.size() ? actions.at(at + 1) : nullptr, item);
    }
}

} // namespace

ResultPrinters QtResultPrinters() {
    ResultPrinters printers;
    printers.defaultPrinter = [] {
        return std::unique_ptr<Printer>(QtPrinter::ForDefaultPrinter());
    };
    printers.pdfPrinter = [](const std::string& path) {
        return std::unique_ptr<Printer>(QtPrinter::ForPdf(QString::fromStdString(path)));
    };
    return printers;
}

ResultReports::ResultReports(RaceContext& ctx, std::string programFolder, DesktopShell& shell,
                             ResultPrinters printers, ResultReportsOptions options)
    : m_ctx(ctx), m_programFolder(std::move(programFolder)), m_shell(shell),
      m_printers(std::move(printers)), m_options(options),
      m_printCharts(new QAction(QStringLiteral("Print with Charts"), this)) {
    m_printCharts->setObjectName(QStringLiteral("mnuPrintCharts"));
    m_printCharts->setCheckable(true);
}

ResultReports::~ResultReports() {
    delete m_summary.data();
    delete m_laps.data();
    delete m_text.data();
    delete m_charts.data();
}

FrmKestoSummary* ResultReports::EnsureSummaryWindow() {
    if (m_summary)
        return m_summary;
    auto* window = new FrmKestoSummary(m_options.parent);
    connect(window, &FrmKestoSummary::openRequested, this, &ResultReports::mnuOpen_Click);
    connect(window, &FrmKestoSummary::saveRequested, this, &ResultReports::SaveSummary);
    connect(window, &FrmKestoSummary::printRequested, this, &ResultReports::PrintSummary);
    connect(window, &FrmKestoSummary::savePdfRequested, this, &ResultReports::SaveSummaryPdf);
    connect(window, &FrmKestoSummary::refreshRequested, this, &ResultReports::mnuSummary_Click);
    connect(window, &FrmKestoSummary::lapsRequested, this, [this] {
        UnloadSummaryWindow();
        mnuLapTimes_Click();
    });
    connect(window, &FrmKestoSummary::closed, this, &ResultReports::UnloadSummaryWindow);
    AddBelow(m_printCharts, window->mnuSavePdf());
    m_summary = window;
    return window;
}

FrmKestoViewLaps* ResultReports::EnsureLapWindow() {
    if (m_laps)
        return m_laps;
    auto* window = new FrmKestoViewLaps(m_options.parent);
    if (m_options.lapWindowModal)
        window->setWindowModality(Qt::ApplicationModal);
    window->SizeCells(SizeCells(m_ctx.state));
    // The sort items start from the order the table is kept in.
    window->SetSortedByLapTime(m_book.LapTable().SortByLapTime);
    connect(window, &FrmKestoViewLaps::openRequested, this, &ResultReports::mnuOpen_Click);
    connect(window, &FrmKestoViewLaps::saveRequested, this, &ResultReports::SaveLaps);
    connect(window, &FrmKestoViewLaps::printRequested, this, &ResultReports::PrintLaps);
    connect(window, &FrmKestoViewLaps::savePdfRequested, this, &ResultReports::SaveLapsPdf);
    connect(window, &FrmKestoViewLaps::refreshRequested, this, &ResultReports::mnuLapTimes_Click);
    connect(window, &FrmKestoViewLaps::sortByLapTimeRequested, this, [this] { SortLaps(true); });
    connect(window, &FrmKestoViewLaps::sortByLapRequested, this, [this] { SortLaps(false); });
    connect(window, &FrmKestoViewLaps::summaryRequested, this, [this] {
        UnloadLapWindow();
        mnuSummary_Click();
    });
    connect(window, &FrmKestoViewLaps::closed, this, &ResultReports::UnloadLapWindow);
    AddBelow(m_printCharts, window->mnuSavePdf());
    m_laps = window;
    return window;
}

// Unloading forgets the window at once; it is deleted once its own events are done.
template <class Window> void ResultReports::Unload(QPointer<Window>& slot) {
    if (Window* window = slot) {
        slot = nullptr;
        window->disconnect(this);
        window->hide();
        window->deleteLater();
    }
}

void ResultReports::UnloadSummaryWindow() {
    Unload(m_summary);
}

void ResultReports::UnloadLapWindow() {
    Unload(m_laps);
}

void ResultReports::ShowLapWindow() {
    if (!m_laps->isVisible())
        m_laps->show();
    m_laps->raise();
    m_laps->activateWindow();
}

void ResultReports::ViewerGridVisible(bool visible) {
    if (m_laps)
        m_laps->GridWidget()->setVisible(visible);
}

void ResultReports::mnuSummary_Click() {
    if (CountIdsWithLaps(m_ctx.state) == 0) {
        m_ctx.state.IdsWithLaps = 0;
        m_ctx.dialogs.Show(InformationMessage(SummaryTitle, NoDataText));
        return;
    }
    FrmKestoSummary* window = EnsureSummaryWindow();
    std::optional<Message> message = m_book.FillSummary(m_ctx.state);
    window->ShowGrid(m_book.Summary());
    if (message) {
        m_ctx.dialogs.Show(*message);
        return;
    }
    if (!window->isVisible())
        window->show();
}

void ResultReports::mnuLapTimes_Click() {
    FrmKestoViewLaps* window = EnsureLapWindow();
    LapTimesFill fill = m_book.FillLapTimes(m_ctx.state);
    window->ShowGrid(m_book.Laps());
    if (fill.message) {
        m_ctx.dialogs.Show(*fill.message);
        return;
    }
    window->setWindowTitle(QString::fromStdString(fill.caption));
    if (!window->isVisible()) {
        window->SizeCells(SizeCells(m_ctx.state));
        ShowLapWindow();
    }
}

void ResultReports::SortLaps(bool byLapTime) {
    FrmKestoViewLaps* window = m_laps;
    if (!window)
        return;
    m_book.LapTable().SortByLapTime = byLapTime;
    mnuLapTimes_Click();
    if (m_laps) {
        m_laps->GridWidget()->setVisible(true);
        m_laps->SetSortedByLapTime(byLapTime);
    }
}

// A save clears an unsaved mark; the race journal keeps the marks so a race
// resumed after a crash asks about the same unsaved results.
void ResultReports::SaveSummary() {
    if (m_book.SaveSummary(m_ctx, m_programFolder))
        m_ctx.Journal().Record(
            JournalEvent::UnsavedMarks(m_ctx.state.LapsUnsaved, m_ctx.state.SummaryUnsaved));
}

void ResultReports::SaveLaps() {
    if (m_book.SaveLaps(m_ctx, m_programFolder))
        m_ctx.Journal().Record(
            JournalEvent::UnsavedMarks(m_ctx.state.LapsUnsaved, m_ctx.state.SummaryUnsaved));
}

void ResultReports::PrintSummary() {
    std::unique_ptr<Printer> printer =
        m_printers.defaultPrinter ? m_printers.defaultPrinter() : nullptr;
    if (!printer) {
        m_ctx.dialogs.Show(ErrorDescriptionMessage(PrintProblemText));
        return;
    }
    m_book.PrintSummary(m_ctx, *printer, ChartsPage(true, false));
}

void ResultReports::PrintLaps() {
    std::unique_ptr<Printer> printer =
        m_printers.defaultPrinter ? m_printers.defaultPrinter() : nullptr;
    if (!printer) {
        m_ctx.dialogs.Show(ErrorDescriptionMessage(PrintProblemText));
        return;
    }
    m_book.PrintLaps(m_ctx, *printer, ChartsPage(false, false));
}

void ResultReports::SaveSummaryPdf() {
    std::optional<std::string> path = ChoosePdfPath(m_ctx, m_programFolder, "Summary ");
    if (!path)
        return;
    std::unique_ptr<Printer> printer =
        m_printers.pdfPrinter ? m_printers.pdfPrinter(*path) : nullptr;
    if (!printer) {
        m_ctx.dialogs.Show(ErrorDescriptionMessage(PrintProblemText));
        return;
    }
    if (m_book.PrintSummary(m_ctx, *printer, ChartsPage(true, true)))
        m_ctx.dialogs.Show(FileSavedMessage(*path));
}

void ResultReports::SaveLapsPdf() {
    std::optional<std::string> path = ChoosePdfPath(m_ctx, m_programFolder, "Laps ");
    if (!path)
        return;
    std::unique_ptr<Printer> printer =
        m_printers.pdfPrinter ? m_printers.pdfPrinter(*path) : nullptr;
    if (!printer) {
        m_ctx.dialogs.Show(ErrorDescriptionMessage(PrintProblemText));
        return;
    }
    if (m_book.PrintLaps(m_ctx, *printer, ChartsPage(false, true)))
        m_ctx.dialogs.Show(FileSavedMessage(*path));
}

void ResultReports::mnuOpen_Click() {
    std::optional<std::string> path = ChooseResultFileToOpen(m_ctx.dialogs);
    if (!path)
        return;
    const ResultFileKind kind = KindOfOpenedFile(*path);
    if (kind == ResultFileKind::Text) {
        // The desktop may answer only later; by then these reports may be gone.
        QPointer<ResultReports> self(this);
        m_shell.OpenDocument(*path, [self, path = *path] {
            if (self)
                self->ShowTextReport(path);
        });
        return;
    }
    std::string text;
    if (!ReadResultFile(*path, text, nullptr))
        return; // a file that cannot be opened changes nothing
    if (kind == ResultFileKind::LapGrid)
        OpenLapFile(*path, text);
    else
        OpenSummaryFile(*path, text);
}

TextReportWindow* ResultReports::TextWindow() const {
    return m_text;
}

FrmCharts* ResultReports::ChartsWindow() const {
    return m_charts;
}

void ResultReports::ShowCharts() {
    if (!m_charts)
        m_charts = new FrmCharts(m_ctx.state, m_book, m_options.parent);
    m_charts->show(); // a shown window catches up with the race as it is shown
    m_charts->raise();
    m_charts->activateWindow();
}

std::string ResultReports::ChartsPage(bool summary, bool pdf) const {
    if (!pdf && !m_printCharts->isChecked())
        return {};
    if (summary && !m_book.SummaryFile().empty())
        return {};
    const RaceCharts charts = ChartsOfRace(m_ctx.state);
    if (charts.cars.empty())
        return {};
    ChartLook paper;
    paper.onPaper = true;
    return RenderRaceChartsSvg(charts, ChartsPageSize, paper).toStdString();
}

void ResultReports::ShowTextReport(const std::string& path) {
    m_ctx.dialogs.Show(InformationMessage("Open", "The desktop could not open\n" + path +
                                                      "\nIt is shown in a window of the timer."));
    std::string text;
    std::string error;
    if (!ReadResultFile(path, text, &error)) {
        m_ctx.dialogs.Show(ErrorDescriptionMessage(error));
        return;
    }
    if (!m_text)
        m_text = new TextReportWindow(m_options.parent);
    m_text->ShowReport(path, text);
    m_text->show();
    m_text->raise();
    m_text->activateWindow();
}

void ResultReports::OpenLapFile(const std::string& path, const std::string& text) {
    m_book.OpenLapFile(path, text);
    if (m_options.fileOpened)
        m_options.fileOpened(path, false);
    if (m_charts && m_charts->isVisible())
        m_charts->Rebuild(); // the same name may hold another race now
    FrmKestoViewLaps* window = EnsureLapWindow();
    window->ShowGrid(m_book.Laps());
    if (m_summary && m_summary->isVisible())
        UnloadSummaryWindow();
    window->DisableSort();
    window->setWindowTitle(QString::fromStdString(path));
    ShowLapWindow();
}

void ResultReports::OpenSummaryFile(const std::string& path, const std::string& text) {
    m_book.OpenSummaryFile(path, text);
    if (m_options.fileOpened)
        m_options.fileOpened(path, true);
    FrmKestoSummary* window = EnsureSummaryWindow();
    window->ShowGrid(m_book.Summary());
    window->setWindowTitle(QString::fromStdString(path));
    window->DisableLapsAndSave();
    if (!window->isVisible())
        window->show();
    // After the show: showing a new window sizes its columns by its width.
    window->SetColumnWidthsTwips(SummaryFileColumnWidths);
}

} // namespace kesto
