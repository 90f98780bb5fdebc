#include "reports/result_file_state.h"

namespace kesto {

void ResultFileState::SetLapFileCell(int row, int col, std::string text) {
    if (row < 0 || row >= LapFileMaxRows || col < 0 || col >= LapFileCellCols)
        return;
    if (static_cast<int>(LapFileCells.size()) <= row)
        LapFileCells.resize(static_cast<std::size_t>(row) + 1);
    LapFileCells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}

} // namespace kesto
