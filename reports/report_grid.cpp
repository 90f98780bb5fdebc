#include "reports/report_grid.h"

#include <algorithm>

namespace kesto {

ReportGrid::ReportGrid(int rows, int cols, int fixedRows, int fixedCols)
    : m_rows(std::max(rows, 0)), m_cols(std::max(cols, 0)), m_fixedRows(fixedRows),
      m_fixedCols(fixedCols),
      m_cells(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_cols)) {}

void ReportGrid::SetRows(int rows) {
    m_rows = std::max(rows, 0);
    m_cells.resize(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_cols));
}

void ReportGrid::EnsureRows(int rows) {
    if (rows > m_rows)
        SetRows(rows);
}

const GridCell& ReportGrid::Cell(int row, int col) const {
    static const GridCell empty;
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return empty;
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols) +
                   static_cast<std::size_t>(col)];
}

const std::string& ReportGrid::Text(int row, int col) const {
    return Cell(row, col).text;
}

GridCell* ReportGrid::At(int row, int col) {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return nullptr;
    return &m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols) +
                    static_cast<std::size_t>(col)];
}

void ReportGrid::SetText(int row, int col, std::string text) {
    if (GridCell* cell = At(row, col)) {
        cell->text = std::move(text);
        cell->written = true;
    }
}

void ReportGrid::SetForeground(int row, int col, std::optional<int32_t> color) {
    if (GridCell* cell = At(row, col)) {
        cell->foreground = color;
    }
}

void ReportGrid::SetBackground(int row, int col, std::optional<int32_t> color) {
    if (GridCell* cell = At(row, col)) {
        cell->background = color;
    }
}

void ReportGrid::SetAlign(int row, int col, CellAlign align) {
    if (GridCell* cell = At(row, col)) {
        cell->align = align;
    }
}

void ReportGrid::ResetCell(int row, int col, std::string text, CellAlign align) {
    if (GridCell* cell = At(row, col)) {
        cell->text = std::move(text);
        cell->foreground.reset();
        cell->background.reset();
        cell->align = align;
        cell->written = true;
    }
}

void ReportGrid::ClearWrittenMarks() {
    for (GridCell& cell : m_cells)
        cell.written = false;
}

} // namespace kesto
