#pragma once
// frmKestoSummary, "View Summary": the summary grid (16 x 13, two fixed
// header rows, "MS Sans Serif") and its menus. The window shows the summary
// its owner (ResultReports) keeps, routes its menu commands back there and
// sizes its grid: the proportional resizer keeps the grid's place, and the
// columns take their share of the window's width on every resize.

#include "reports/report_grid.h"
#include "resize/resize_class.h"

#include <QMainWindow>

#include <array>

class QAction;

namespace kesto {

class GridView;

class FrmKestoSummary final : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmKestoSummary(QWidget* parent = nullptr);

    // Puts the cells on the screen; the window keeps no copy of them.
    void ShowGrid(const ReportGrid& grid);

    // Column widths of an opened summary file, in twips.
    void SetColumnWidthsTwips(const std::array<int, 13>& widths);
    // A window showing a file cannot save or switch to the lap times.
    void DisableLapsAndSave();

    GridView* GridWidget() const { return m_gridView; }
    QAction* mnuOpen() const { return m_open; }
    QAction* mnuSave() const { return m_save; }
    QAction* mnuPrint() const { return m_print; }
    QAction* mnuSavePdf() const { return m_savePdf; }
    QAction* mnuExit() const { return m_exit; }
    QAction* mnuLaps() const { return m_laps; }
    QAction* mnuRefresh() const { return m_refresh; }

signals:
    void openRequested();
    void saveRequested();
    void printRequested();
    void savePdfRequested();
    void lapsRequested();
    void refreshRequested();
    // The window was closed (Exit or the window's close box); its owner unloads it.
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void SizeColumns();

    GridView* m_gridView;
    Resize_Class m_resizer;
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_print = nullptr;
    QAction* m_savePdf = nullptr;
    QAction* m_exit = nullptr;
    QAction* m_laps = nullptr;
    QAction* m_refresh = nullptr;
};

} // namespace kesto
