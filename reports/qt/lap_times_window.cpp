#include "reports/qt/lap_times_window.h"

#include "reports/qt/grid_view.h"
#include "reports/qt/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>

#include <algorithm>

namespace kesto {
namespace {

constexpr int DesignWidth = 11610; // SizeCells of a practice: 11510 + 100
constexpr int DesignHeight = 7200;
constexpr int WidthAroundGrid = 100;   // twips of window beside the grid
constexpr int HeightAroundGrid = 1250; // caption, menu bar and border

} // namespace

FrmKestoViewLaps::FrmKestoViewLaps(QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_gridView(nullptr) {
    setObjectName(QStringLiteral("frmKestoViewLaps"));
    setWindowTitle(QStringLiteral("View Lap Times"));
    BuildMenus();

    auto* central = new QWidget(this);
    setCentralWidget(central);
    const ReportGrid empty = MakeLapGrid();
    m_gridView = new GridView(empty.FixedRows(), central);
    m_gridView->setFont(QFont(QStringLiteral("Courier New"), 8));
    resize(TwipsToPixels(this, DesignWidth), TwipsToPixels(this, DesignHeight));
    ShowGrid(empty);

    // Load: lap order is the starting mode.
    m_sort->setEnabled(true);
    SetSortedByLapTime(false);
}

void FrmKestoViewLaps::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_open = file->addAction(QStringLiteral("&Open"), this, &FrmKestoViewLaps::openRequested);
    m_save = file->addAction(QStringLiteral("&Save"), this, &FrmKestoViewLaps::saveRequested);
    file->addSeparator();
    m_print = file->addAction(QStringLiteral("&Print"), this, &FrmKestoViewLaps::printRequested);
    m_savePdf = file->addAction(QStringLiteral("Save as PDF..."), this,
                                &FrmKestoViewLaps::savePdfRequested);
    file->addSeparator();
    m_exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_summary =
        view->addAction(QStringLiteral("Summary"), this, &FrmKestoViewLaps::summaryRequested);
    view->addSeparator();
    m_refresh =
        view->addAction(QStringLiteral("&Refresh"), this, &FrmKestoViewLaps::refreshRequested);
    m_sort = view->addMenu(QStringLiteral("Sor&t"));
    m_byLapTime = m_sort->addAction(QStringLiteral(" By Lap &Time"), this,
                                    &FrmKestoViewLaps::sortByLapTimeRequested);
    m_byLap =
        m_sort->addAction(QStringLiteral(" By &Lap"), this, &FrmKestoViewLaps::sortByLapRequested);

    m_open->setObjectName(QStringLiteral("mnuOpen"));
    m_save->setObjectName(QStringLiteral("mnuSave"));
    m_print->setObjectName(QStringLiteral("mnuPrint"));
    m_savePdf->setObjectName(QStringLiteral("mnuSavePdf"));
    m_exit->setObjectName(QStringLiteral("mnuExit"));
    m_summary->setObjectName(QStringLiteral("mnuSummary"));
    m_refresh->setObjectName(QStringLiteral("mnuRefresh"));
    m_sort->setObjectName(QStringLiteral("mnuSort"));
    m_byLapTime->setObjectName(QStringLiteral("mnuByLapTime"));
    m_byLap->setObjectName(QStringLiteral("mnuByLap"));
}

void FrmKestoViewLaps::ShowGrid(const ReportGrid& grid) {
    m_gridView->ShowGrid(grid);
}

void FrmKestoViewLaps::SizeCells(const LapCellSizes& sizes) {
    m_gridView->SetColumnWidth(0, TwipsToPixels(this, sizes.firstColumnWidth));
    for (int col = 1; col <= sizes.carColumns && col < LapGridCols; ++col)
        m_gridView->SetColumnWidth(col, TwipsToPixels(this, sizes.carColumnWidth));
    m_gridView->resize(TwipsToPixels(this, sizes.gridWidth), m_gridView->height());
    m_outerWidthTwips = sizes.windowWidth;
    ApplyOuterWidth();
}

void FrmKestoViewLaps::ApplyOuterWidth() {
    if (m_outerWidthTwips <= 0)
        return;
    // The window's outer width; the frame, where there is one, is part of it.
    // The frame is known only once the window is on the screen.
    const int frame = frameGeometry().width() - width();
    resize(TwipsToPixels(this, m_outerWidthTwips) - frame, height());
}

void FrmKestoViewLaps::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    ApplyOuterWidth();
}

void FrmKestoViewLaps::SetSortedByLapTime(bool sortedByLapTime) {
    m_byLapTime->setEnabled(!sortedByLapTime);
    m_byLap->setEnabled(sortedByLapTime);
}

void FrmKestoViewLaps::DisableSort() {
    m_sort->setEnabled(false);
    m_sort->menuAction()->setEnabled(false);
}

void FrmKestoViewLaps::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return; // the grid keeps its last size
    const QRect outer = frameGeometry();
    m_gridView->resize(std::max(0, outer.width() - TwipsToPixels(this, WidthAroundGrid)),
                       std::max(0, outer.height() - TwipsToPixels(this, HeightAroundGrid)));
}

void FrmKestoViewLaps::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    emit closed();
}

} // namespace kesto
