#pragma once
// The flex grid of the viewer windows: a table that shows a ReportGrid, with
// its fixed header rows kept in view above the scrolling rows and fixed cells
// drawn on the button colour. The body table holds every row (the header rows
// are hidden in it and shown by a second view of the same cells on top), so
// tests read any cell from Table().

#include "reports/report_grid.h"

#include <QWidget>

class QTableView;
class QTableWidget;

namespace kesto {

class GridView final : public QWidget {
    Q_OBJECT
public:
    GridView(int fixedRows, QWidget* parent = nullptr);

    // Shows every cell of `grid` (text, colours, alignment) and its visibility.
    void ShowGrid(const ReportGrid& grid);

    void SetColumnWidth(int col, int pixels);
    int ColumnWidth(int col) const;

    QTableWidget* Table() const { return m_body; }
    QTableView* HeaderRows() const { return m_header; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void FitHeaderHeight();

    int m_fixedRows;
    QTableWidget* m_body;
    QTableView* m_header;
};

} // namespace kesto
