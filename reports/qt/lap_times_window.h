#pragma once
// frmKestoViewLaps, "View Lap Times": the lap grid (15 columns, two fixed
// header rows and one fixed column, "Courier New") and its menus. The window
// shows the lap table its owner (ResultReports) keeps, routes its menu
// commands back there, sizes its cells from the race (SizeCells) and lets the
// grid follow the window in its normal state.

#include "reports/lap_times_report.h"
#include "reports/report_grid.h"

#include <QMainWindow>

class QAction;
class QMenu;

namespace kesto {

class GridView;

class FrmKestoViewLaps final : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmKestoViewLaps(QWidget* parent = nullptr);

    // Puts the cells on the screen; the window keeps no copy of them.
    void ShowGrid(const ReportGrid& grid);

    // Column widths, grid width and window width from the race (twips).
    void SizeCells(const LapCellSizes& sizes);
    // Which of the two sort items can be chosen: the current order's item is off.
    void SetSortedByLapTime(bool sortedByLapTime);
    // A window showing a lap file cannot sort it.
    void DisableSort();

    GridView* GridWidget() const { return m_gridView; }
    QAction* mnuOpen() const { return m_open; }
    QAction* mnuSave() const { return m_save; }
    QAction* mnuPrint() const { return m_print; }
    QAction* mnuSavePdf() const { return m_savePdf; }
    QAction* mnuExit() const { return m_exit; }
    QAction* mnuSummary() const { return m_summary; }
    QAction* mnuRefresh() const { return m_refresh; }
    QMenu* mnuSort() const { return m_sort; }
    QAction* mnuByLapTime() const { return m_byLapTime; }
    QAction* mnuByLap() const { return m_byLap; }

signals:
    void openRequested();
    void saveRequested();
    void printRequested();
    void savePdfRequested();
    void summaryRequested();
    void refreshRequested();
    void sortByLapTimeRequested();
    void sortByLapRequested();
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void ApplyOuterWidth();

    GridView* m_gridView;
    int m_outerWidthTwips = 0; // the window width SizeCells asked for, frame included
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_print = nullptr;
    QAction* m_savePdf = nullptr;
    QAction* m_exit = nullptr;
    QAction* m_summary = nullptr;
    QAction* m_refresh = nullptr;
    QMenu* m_sort = nullptr;
    QAction* m_byLapTime = nullptr;
    QAction* m_byLap = nullptr;
};

} // namespace kesto
