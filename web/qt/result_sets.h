#pragma once
// The results the live board serves, made from the reports' own tables: the
// last closed race (filled, written and printed from a copy of the race state
// with a result book of its own, so the viewers and the race never notice)
// and a result file opened in the viewers (the viewers' book as it stands).

#include "base/printer.h"
#include "engine/race_state.h"
#include "reports/race_charts.h"
#include "reports/report_grid.h"
#include "reports/result_book.h"
#include "web/results_document.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

// A printer that writes the printout as a PDF file at the path, or null.
using PdfPrinterMaker = std::function<std::unique_ptr<Printer>(const std::string& pdfPath)>;

// The charts of a race or a lap file drawn as pictures, or null for none.
using ChartPicturesMaker = std::function<std::vector<ResultChart>(const RaceCharts& charts)>;

// The grid's cells with their colours (Windows colour values to CSS).
ResultTable TableOf(const ReportGrid& grid);

// The summary, lap table, both text reports and both printouts of the race as
// it stands, and its charts. Without a PDF maker, or when printing fails, no
// PDF is offered.
ResultSet RaceResultSet(const RaceState& state, const PdfPrinterMaker& pdf,
                        const ChartPicturesMaker& charts = {});

// The file just opened in the viewers, from `book`: a summary file with its
// printout, or a lap file's table and charts. `path` names it.
ResultSet OpenedResultSet(ResultBook& book, const std::string& path, bool summaryFile,
                          RaceContext& ctx, const PdfPrinterMaker& pdf,
                          const ChartPicturesMaker& charts = {});

} // namespace kesto
