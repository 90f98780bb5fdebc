#include "reports/qt/grid_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kesto {
namespace {

QColor FromWindowsColor(int32_t color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void HideHeaders(QTableView* view) {
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTextElideMode(Qt::ElideNone); // a long text is cut at the cell edge
    view->setWordWrap(false);
}

} // namespace

GridView::GridView(int fixedRows, QWidget* parent)
    : QWidget(parent), m_fixedRows(fixedRows), m_body(new QTableWidget(this)),
      m_header(new QTableView(this)) {
    setObjectName(QStringLiteral("grdGrid"));
    m_body->setObjectName(QStringLiteral("grdGridTable"));
    m_header->setObjectName(QStringLiteral("grdGridHeaderRows"));
    HideHeaders(m_body);
    HideHeaders(m_header);
    m_header->setModel(m_body->model());
    m_header->setFocusPolicy(Qt::NoFocus);
    m_header->setSelectionMode(QAbstractItemView::NoSelection);
    m_header->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_header->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_header->setFrameShape(QFrame::NoFrame);
    m_body->setFrameShape(QFrame::NoFrame);
    // The header rows scroll sideways with the body, never up or down.
    connect(m_body->horizontalScrollBar(), &QScrollBar::valueChanged,
            m_header->horizontalScrollBar(), &QScrollBar::setValue);
    connect(m_body->horizontalScrollBar(), &QScrollBar::rangeChanged, m_header,
            [this](int, int max) { m_header->horizontalScrollBar()->setRange(0, max); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_body, 1);
}

void GridView::ShowGrid(const ReportGrid& grid) {
    m_body->setUpdatesEnabled(false);
    m_body->setColumnCount(grid.Cols());
    m_body->setRowCount(grid.Rows());
    const QBrush fixedBrush = palette().brush(QPalette::Button);
    for (int row = 0; row < grid.Rows(); ++row) {
        const bool fixedRow = row < grid.FixedRows();
        m_body->setRowHidden(row, fixedRow);
        for (int col = 0; col < grid.Cols(); ++col) {
            const GridCell& cell = grid.Cell(row, col);
            QTableWidgetItem* item = m_body->item(row, col);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                m_body->setItem(row, col, item);
            }
            item->setText(QString::fromStdString(cell.text));
            item->setTextAlignment(cell.align == CellAlign::Left ? Qt::AlignLeft | Qt::AlignVCenter
                                                                 : Qt::AlignCenter);
            if (cell.background)
                item->setBackground(FromWindowsColor(*cell.background));
            else if (fixedRow || col < grid.FixedCols())
                item->setBackground(fixedBrush);
            else
                item->setBackground(QBrush());
            item->setForeground(cell.foreground ? QBrush(FromWindowsColor(*cell.foreground))
                                                : QBrush());
        }
    }
    for (int row = 0; row < grid.Rows(); ++row)
        m_header->setRowHidden(row, row >= m_fixedRows);
    m_body->setUpdatesEnabled(true);
    FitHeaderHeight();
    setVisible(grid.Visible());
}

void GridView::SetColumnWidth(int col, int pixels) {
    m_body->setColumnWidth(col, pixels);
    m_header->setColumnWidth(col, pixels);
}

int GridView::ColumnWidth(int col) const {
    return m_body->columnWidth(col);
}

void GridView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_body->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        m_header->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        FitHeaderHeight();
    }
}

void GridView::FitHeaderHeight() {
    int height = 0;
    for (int row = 0; row < m_fixedRows && row < m_body->rowCount(); ++row)
        height += m_header->rowHeight(row);
    m_header->setFixedHeight(height);
}

} // namespace kesto
