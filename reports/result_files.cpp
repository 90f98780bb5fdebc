#include "reports/result_files.h"

#include "base/report_text.h"
#include "base/safe_write.h"
#include "base/windows1252.h"
#include "reports/delimited_reader.h"
#include "reports/lap_times_report.h"
#include "reports/summary_report.h"

#include <algorithm>

namespace kesto {
namespace {

// Result files are small; anything far beyond the largest lap file is not one.
constexpr std::size_t MaxResultFileBytes = 64u * 1024u * 1024u;

// A cell as a line of a grid file. The reader splits items at commas, so a
// cell holding one ("Smith, Jo", "5,00", "1,005.00") goes in double quotes,
// as does one holding a quote (doubled inside); every other cell is written
// as it is, so such files keep the bytes they always had.
void AppendCellLine(std::string& text, const std::string& cell) {
    if (cell.find_first_of(",\"") == std::string::npos) {
        text += cell;
    } else {
        text += '"';
        for (char c : cell) {
            if (c == '"')
                text += '"';
            text += c;
        }
        text += '"';
    }
    text += CrLf;
}

} // namespace

bool IsTextReportPath(std::string_view path) {
    return ContainsIgnoreCase(path, ".txt");
}

ResultFileKind KindOfOpenedFile(std::string_view path) {
    if (IsTextReportPath(path))
        return ResultFileKind::Text;
    return ContainsIgnoreCase(path, "lap") ? ResultFileKind::LapGrid : ResultFileKind::SummaryGrid;
}

std::string LapGridFileText(const ReportGrid& grid, ResultFileState& files) {
    std::string text = files.LapFileHeader + CrLf;
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int col = 0; col < LapGridCols; ++col) {
            const std::string& cell = grid.Text(row, col);
            AppendCellLine(text, cell);
            files.SetLapFileCell(row, col, cell);
        }
    }
    return text;
}

std::string SummaryGridFileText(const ReportGrid& grid, const std::string& raceFormatText,
                                ResultFileState& files) {
    files.SummaryFileHeader = raceFormatText;
    std::string text = files.SummaryFileHeader + CrLf;
    for (int row = 0; row < SummaryRows; ++row) {
        for (int col = 0; col < SummaryCols; ++col) {
            const std::string& cell = grid.Text(row, col);
            AppendCellLine(text, cell);
            files.SummaryFileCells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] =
                cell;
        }
    }
    return text;
}

GridFileRead ReadLapGridFile(std::string_view text, ReportGrid& grid, ResultFileState& files) {
    GridFileRead read;
    grid = MakeLapGrid();
    DelimitedReader reader(text);
    files.LapFileHeader = reader.ReadLine().value_or("");
    int partialRow = 0; // 1 when the file ends inside a row
    read.complete = true;
    while (!reader.AtEnd() && read.rows < LapFileMaxRows) {
        const int row = read.rows;
        for (int col = 0; col < LapGridCols; ++col) {
            std::optional<std::string> item = reader.ReadItem();
            if (!item) {
                read.complete = false;
                partialRow = 1;
                break;
            }
            files.SetLapFileCell(row, col, *item);
            grid.EnsureRows(row + 1);
            grid.ResetCell(row, col, std::move(*item),
                           row < 2 ? CellAlign::Left : CellAlign::Centre);
        }
        if (!read.complete)
            break;
        ++read.rows;
    }
    if (!reader.AtEnd())
        read.complete = false; // more rows than the lap tables can hold

    // Rows beyond the file's are empty, as many as a lap grid shows at least.
    const int shownRows = read.rows + partialRow;
    for (int row = shownRows; row < LapGridMinRows; ++row)
        for (int col = 0; col < grid.Cols(); ++col)
            grid.SetAlign(row, col, row < 2 ? CellAlign::Left : CellAlign::Centre);
    grid.SetRows(std::max(shownRows, LapGridMinRows));
    return read;
}

GridFileRead ReadSummaryGridFile(std::string_view text, ReportGrid& grid, ResultFileState& files) {
    GridFileRead read;
    grid = MakeSummaryGrid();
    DelimitedReader reader(text);
    files.SummaryFileHeader = reader.ReadLine().value_or("");
    for (int row = 0; row < SummaryRows; ++row) {
        for (int col = 0; col < SummaryCols; ++col) {
            std::optional<std::string> item = reader.ReadItem();
            if (!item)
                return read;
            files.SummaryFileCells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] =
                *item;
            const bool red = *item == "Insufficent" || *item == "Data";
            grid.ResetCell(row, col, std::move(*item), CellAlign::Centre);
            if (red)
                grid.SetForeground(row, col, RedColor);
        }
        read.rows = row + 1;
    }
    read.complete = true;
    return read;
}

bool WriteResultFile(const std::string& path, std::string_view utf8Text, std::string* error) {
    return WriteFileAtomically(path, Utf8ToWindows1252(utf8Text), error);
}

bool ReadResultFile(const std::string& path, std::string& utf8Text, std::string* error) {
    std::string bytes;
    if (!ReadFilePrefix(path, MaxResultFileBytes, bytes, error))
        return false;
    utf8Text = Windows1252ToUtf8(bytes);
    return true;
}

} // namespace kesto
