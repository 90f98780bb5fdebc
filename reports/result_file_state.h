#pragma once
// What the result files leave behind in memory: the texts of the last text
// reports, the header lines of the grid files and copies of the grid cells as
// they were last written or read (the summary printout prints from its copy).

#include <array>
#include <string>
#include <vector>

namespace kesto {

inline constexpr int LapFileMaxRows = 3001; // rows 0..3000
inline constexpr int LapFileCellCols = 16;
inline constexpr int SummaryFileCellRows = 17;
inline constexpr int SummaryFileCellCols = 13;

struct ResultFileState {
    std::string LapTextHeader;
    std::string LapTextBody;
    std::string SummaryTextHeader;
    std::string SummaryTextBody;
    std::string LapFileHeader;     // line 1 of a lap grid file
    std::string SummaryFileHeader; // line 1 of a summary grid file: RaceFormatText
    // Grows as rows are written or read, never beyond LapFileMaxRows rows.
    std::vector<std::array<std::string, LapFileCellCols>> LapFileCells;
    std::array<std::array<std::string, SummaryFileCellCols>, SummaryFileCellRows> SummaryFileCells;

    void SetLapFileCell(int row, int col, std::string text);
};

} // namespace kesto
