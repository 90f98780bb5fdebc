#include "web/qt/result_sets.h"

#include "engine/quiet_platform.h"
#include "reports/text_reports.h"
#include "web/board_document.h"

#include <QFile>
#include <QTemporaryDir>

namespace kesto {

namespace {

// The printout of `print` as PDF bytes; empty when it could not be made.
std::string PdfOf(const PdfPrinterMaker& pdf, const std::function<bool(Printer&)>& print) {
    if (!pdf)
        return {};
    QTemporaryDir folder;
    if (!folder.isValid())
        return {};
    const QString path = folder.filePath(QStringLiteral("printout.pdf"));
    std::unique_ptr<Printer> printer = pdf(path.toStdString());
    if (!printer || !print(*printer))
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void Offer(ResultSet& set, const char* name, std::string bytes) {
    if (!bytes.empty())
        set.downloads.push_back({name, std::move(bytes)});
}

std::vector<ResultChart> ChartsOf(const RaceCharts& charts, const ChartPicturesMaker& make) {
    if (!make || charts.cars.empty())
        return {};
    return make(charts);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

ResultTable TableOf(const ReportGrid& grid) {
    ResultTable table;
    table.headerRows = grid.FixedRows();
    table.rows.resize(static_cast<size_t>(grid.Rows()));
    for (int r = 0; r < grid.Rows(); ++r) {
        auto& row = table.rows[static_cast<size_t>(r)];
        for (int c = 0; c < grid.Cols(); ++c) {
            const GridCell& cell = grid.Cell(r, c);
            ResultCell out{cell.text, {}, {}};
            if (cell.background)
                out.background = CssColor(*cell.background);
            if (cell.foreground)
                out.ink = CssColor(*cell.foreground);
            else if (cell.background)
                out.ink = CssInkOn(*cell.background);
            row.push_back(std::move(out));
        }
    }
    return table;
}

ResultSet RaceResultSet(const RaceState& state, const PdfPrinterMaker& pdf,
                        const ChartPicturesMaker& charts) {
    // The reports recompute statistics into the state they read: a copy of it.
    RaceState copy = state;
    SoundChoices sounds;
    SilentPlayer player;
    DefaultAnswerDialogs dialogs;
    SteadyRandom random;
    StoppedClock clock;
    NoPort port;
    RaceContext ctx{copy, sounds, player, dialogs, random, clock, port};

    ResultSet set;
    set.title = copy.RaceFormatText;
    ResultBook book;
    if (!book.FillSummary(copy))
        set.summary = TableOf(book.Summary());
    if (!book.FillLapTimes(copy).message) {
        set.laps = TableOf(book.Laps());
        DropEmptyTrailingRows(*set.laps);
    }
    ResultFileState& files = book.Files();
    SaveSummaryToText(copy, files);
    Offer(set, "summary.txt", TextReportFile(files.SummaryTextHeader, files.SummaryTextBody));
    SaveLapTimesToText(copy, files);
    Offer(set, "laps.txt", TextReportFile(files.LapTextHeader, files.LapTextBody));
    if (set.summary)
        Offer(set, "summary.pdf",
              PdfOf(pdf, [&](Printer& p) { return book.PrintSummary(ctx, p); }));
    if (set.laps)
        Offer(set, "laps.pdf", PdfOf(pdf, [&](Printer& p) { return book.PrintLaps(ctx, p); }));
    set.charts = ChartsOf(ChartsOfRace(copy), charts);
    return set;
}

ResultSet OpenedResultSet(ResultBook& book, const std::string& path, bool summaryFile,
                          RaceContext& ctx, const PdfPrinterMaker& pdf,
                          const ChartPicturesMaker& charts) {
    ResultSet set;
    set.title = FileNameOf(path);
    if (summaryFile) {
        set.summary = TableOf(book.Summary());
        Offer(set, "summary.pdf",
              PdfOf(pdf, [&](Printer& p) { return book.PrintSummary(ctx, p); }));
    } else {
        set.laps = TableOf(book.Laps());
        DropEmptyTrailingRows(*set.laps);
        set.charts = ChartsOf(book.Charts(ctx.state), charts);
    }
    return set;
}

} // namespace kesto
