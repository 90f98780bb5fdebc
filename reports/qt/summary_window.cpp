#include "reports/qt/summary_window.h"

#include "reports/qt/grid_view.h"
#include "reports/qt/twips.h"
#include "reports/summary_report.h"
#include "resize/qt/qt_resize_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

#include <cmath>

namespace kesto {
namespace {

// The design size of the window and its grid, in twips.
constexpr int DesignWidth = 11475;
constexpr int DesignHeight = 5700;
constexpr int GridMargin = 60;

} // namespace

FrmKestoSummary::FrmKestoSummary(QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_gridView(nullptr) {
    setObjectName(QStringLiteral("frmKestoSummary"));
    setWindowTitle(QStringLiteral("View Summary"));
    BuildMenus();

    auto* central = new QWidget(this);
    setCentralWidget(central);
    const ReportGrid empty = MakeSummaryGrid();
    m_gridView = new GridView(empty.FixedRows(), central);
    m_gridView->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    resize(TwipsToPixels(this, DesignWidth), TwipsToPixels(this, DesignHeight));
    const int menuHeight = menuBar()->sizeHint().height();
    m_gridView->setGeometry(0, 0, width() - TwipsToPixels(this, GridMargin),
                            height() - menuHeight - TwipsToPixels(this, GridMargin));
    ShowGrid(empty);

    QtResizeWindowView view(this);
    m_resizer.InitResizeClass(view);
    SizeColumns();
}

void FrmKestoSummary::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_open = file->addAction(QStringLiteral("Open"), this, &FrmKestoSummary::openRequested);
    m_save = file->addAction(QStringLiteral("Save"), this, &FrmKestoSummary::saveRequested);
    file->addSeparator();
    m_print = file->addAction(QStringLiteral("Print"), this, &FrmKestoSummary::printRequested);
    m_savePdf =
        file->addAction(QStringLiteral("Save as PDF..."), this, &FrmKestoSummary::savePdfRequested);
    file->addSeparator();
    m_exit = file->addAction(QStringLiteral("Exit"), this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_laps = view->addAction(QStringLiteral("Laps"), this, &FrmKestoSummary::lapsRequested);
    view->addSeparator();
    m_refresh =
        view->addAction(QStringLiteral("&Refresh"), this, &FrmKestoSummary::refreshRequested);

    m_open->setObjectName(QStringLiteral("mnuOpen"));
    m_save->setObjectName(QStringLiteral("mnuSave"));
    m_print->setObjectName(QStringLiteral("mnuPrint"));
    m_savePdf->setObjectName(QStringLiteral("mnuSavePdf"));
    m_exit->setObjectName(QStringLiteral("mnuExit"));
    m_laps->setObjectName(QStringLiteral("mnuLaps"));
    m_refresh->setObjectName(QStringLiteral("mnuRefresh"));
}

void FrmKestoSummary::ShowGrid(const ReportGrid& grid) {
    m_gridView->ShowGrid(grid);
}

void FrmKestoSummary::SetColumnWidthsTwips(const std::array<int, 13>& widths) {
    for (int col = 0; col < SummaryCols; ++col)
        m_gridView->SetColumnWidth(col, TwipsToPixels(this, widths[static_cast<std::size_t>(col)]));
}

void FrmKestoSummary::DisableLapsAndSave() {
    m_laps->setEnabled(false);
    m_save->setEnabled(false);
}

void FrmKestoSummary::SizeColumns() {
    // The width is kept wider than 16 bits: a very wide window must not fail.
    const long long width = std::llround(PixelsToTwips(this, frameGeometry().width()));
    SetColumnWidthsTwips(SummaryColumnWidths(width));
}

void FrmKestoSummary::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    QtResizeWindowView view(this);
    m_resizer.ResizeControls(view);
    SizeColumns();
}

void FrmKestoSummary::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    emit closed();
}

} // namespace kesto
