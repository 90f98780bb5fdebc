#pragma once
// The grid files the timer reads back: ".lap" (the lap grid, one cell per
// line after a header line) and ".sum" (the summary grid likewise), the rules
// that tell a result file's kind from its path, and the disk side: Windows-1252
// text with CR LF, written so that a failed save never damages the old file.

#include "reports/report_grid.h"
#include "reports/result_file_state.h"

#include <string>
#include <string_view>

namespace kesto {

inline constexpr const char* LapSaveFilter = "Lap Files (*.lap)|*.lap|Text Files(*.txt)|*.txt";
inline constexpr const char* SummarySaveFilter =
    "Summary Files (*.sum)|*.sum|Text File(*.txt)|*.txt";
inline constexpr const char* OpenResultFilter =
    "Lap Files (*.lap)|*.lap|Summary Files(*.sum)|*.sum|Text Files(*.txt)|*.txt";

enum class ResultFileKind { Text, LapGrid, SummaryGrid };

// ".txt" anywhere in the path (any letter case) is a text report.
bool IsTextReportPath(std::string_view path);
// Opening: a text report, else "lap" anywhere in the path makes a lap grid
// file, anything else a summary grid file.
ResultFileKind KindOfOpenedFile(std::string_view path);

// Lap grid file text: LapFileHeader, then 15 cells for every grid row, one
// per line; a cell holding a comma or a double quote is written in double
// quotes (an inner quote doubled) so it reads back whole. The cells are
// copied into LapFileCells.
std::string LapGridFileText(const ReportGrid& grid, ResultFileState& files);
// Summary grid file text: RaceFormatText (kept as SummaryFileHeader), then the
// 16 x 13 cells, quoted as above, copied into SummaryFileCells. Always 209 lines.
std::string SummaryGridFileText(const ReportGrid& grid, const std::string& raceFormatText,
                                ResultFileState& files);

struct GridFileRead {
    bool complete = false; // false: the file ended early or was malformed
    int rows = 0;          // rows read in full
};

// Reads a lap grid file (UTF-8 text) into `grid`: LapFileHeader from line 1,
// then rows of 15 items until the end of the file, at most 3001 rows. Rows
// 0 and 1 are left-aligned, the others centred. What was read stays when the
// file ends in the middle of a row. The grid keeps no row of what it showed
// before: it ends with the rows read (at least 20, the extra ones empty).
GridFileRead ReadLapGridFile(std::string_view text, ReportGrid& grid, ResultFileState& files);

// Reads a summary grid file: SummaryFileHeader from line 1, then 208 items
// into an emptied 16 x 13 grid, centred; "Insufficent" and "Data" in red.
GridFileRead ReadSummaryGridFile(std::string_view text, ReportGrid& grid, ResultFileState& files);

// Writes UTF-8 text as Windows-1252 through a temporary file and a rename.
bool WriteResultFile(const std::string& path, std::string_view utf8Text, std::string* error);
// Reads a result file as UTF-8 text.
bool ReadResultFile(const std::string& path, std::string& utf8Text, std::string* error);

} // namespace kesto
