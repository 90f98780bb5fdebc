#pragma once
// The cells of a result viewer's grid (summary or lap times) as plain data.
// The reports write into it and the viewer windows show it. Every fill and
// every file read starts from an empty grid, so a cell never shows what an
// earlier race or file left in it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

// Horizontal alignment; every cell is centred vertically.
enum class CellAlign { Left, Centre };

inline constexpr int32_t RedColor = 255; // Windows colour value, red in the low byte

struct GridCell {
    std::string text;
    std::optional<int32_t> foreground; // Windows colour value; unset: the grid's default
    std::optional<int32_t> background;
    CellAlign align = CellAlign::Left;
    bool written = false; // its text was written since the grid was made or last marked
};

class ReportGrid final {
public:
    ReportGrid(int rows, int cols, int fixedRows, int fixedCols);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    int FixedRows() const { return m_fixedRows; }
    int FixedCols() const { return m_fixedCols; }

    // Rows added are empty; rows cut off are gone.
    void SetRows(int rows);
    // Grows the grid to at least `rows` rows.
    void EnsureRows(int rows);

    const GridCell& Cell(int row, int col) const;
    // Empty for a cell outside the grid.
    const std::string& Text(int row, int col) const;

    void SetText(int row, int col, std::string text);
    void SetForeground(int row, int col, std::optional<int32_t> color);
    void SetBackground(int row, int col, std::optional<int32_t> color);
    void SetAlign(int row, int col, CellAlign align);
    // Text, no colours and the alignment: a cell that shows only what is given.
    void ResetCell(int row, int col, std::string text, CellAlign align);

    // Clears the "written" marks, so a test can see what the next fill writes.
    void ClearWrittenMarks();

    // Hidden while a fill writes it; a fill that stops early may leave it hidden.
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

private:
    GridCell* At(int row, int col);

    int m_rows;
    int m_cols;
    int m_fixedRows;
    int m_fixedCols;
    bool m_visible = true;
    std::vector<GridCell> m_cells; // row-major
};

} // namespace kesto
