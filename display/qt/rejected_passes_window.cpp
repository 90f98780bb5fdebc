#include "display/qt/rejected_passes_window.h"

#include "display/qt/one_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kesto {
namespace {

constexpr int IdColumn = 0;
constexpr int NameColumn = 1;

bool SamePass(const RejectedPass& a, const RejectedPass& b) {
    return a.id == b.id && a.timeMs == b.timeMs && a.sinceLastPassMs == b.sinceLastPassMs &&
           a.reason == b.reason && a.minLapTimeMs == b.minLapTimeMs;
}

Qt::Alignment ColumnAlignment(int column) {
    if (column == IdColumn)
        return Qt::AlignCenter;
    if (column == NameColumn || column == RejectedPassesColumns - 1)
        return Qt::AlignLeft | Qt::AlignVCenter;
    return Qt::AlignRight | Qt::AlignVCenter;
}

} // namespace

FrmRejectedPasses::FrmRejectedPasses(const RaceState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state) {
    setObjectName(QStringLiteral("frmRejectedPasses"));
    setWindowTitle(QString::fromLatin1(RejectedPassesCaption));

    m_grid = new QTableWidget(0, RejectedPassesColumns, this);
    m_grid->setObjectName(QStringLiteral("grdRejectedPasses"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->setWordWrap(false);

    // Widths from sample texts: measuring thousands of rows would cost a race tick.
    const QFontMetrics metrics = m_grid->fontMetrics();
    const char* samples[] = {"ID 00", "Racer Name Wide Enough", "0:00:00.00", "After last lap"};
    for (int column = 0; column < RejectedPassesColumns; ++column) {
        auto* head = new QTableWidgetItem(QString::fromLatin1(RejectedPassesHeads[column]));
        head->setTextAlignment(ColumnAlignment(column));
        m_grid->setHorizontalHeaderItem(column, head);
        if (column < RejectedPassesColumns - 1)
            m_grid->setColumnWidth(
                column, metrics.horizontalAdvance(QString::fromLatin1(samples[column])) + 24);
    }

    m_footer = new QLabel(this);
    m_footer->setObjectName(QStringLiteral("lblNotKept"));
    m_footer->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addWidget(m_footer);
    // Wide enough for every column, the longest reason and a scroll bar.
    int width =
        metrics.horizontalAdvance(QStringLiteral("Faster than the minimum lap time (10.00 s)")) +
        24 + m_grid->verticalScrollBar()->sizeHint().width() + 2 * m_grid->frameWidth();
    for (int column = 0; column < RejectedPassesColumns - 1; ++column)
        width += m_grid->columnWidth(column);
    const QMargins margins = layout->contentsMargins();
    resize(width + margins.left() + margins.right(), 360);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrRefresh"));
    m_timer->setInterval(RefreshIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &FrmRejectedPasses::Refresh);
    m_timer->start();
    Refresh();
}

FrmRejectedPasses* FrmRejectedPasses::ShowModeless(const RaceState& state, QWidget* parent) {
    if (FrmRejectedPasses* open = BringOpenWindowToFront<FrmRejectedPasses>(parent)) {
        open->Refresh();
        return open;
    }
    auto* window = new FrmRejectedPasses(state, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

bool FrmRejectedPasses::ShownRowsStillKept() const {
    const std::size_t kept = m_state.RejectedPasses.size();
    if (kept < m_shownRows)
        return false;
    return m_shownRows == 0 || SamePass(m_state.RejectedPasses[m_shownRows - 1], m_lastShown);
}

void FrmRejectedPasses::Refresh() {
    std::array<std::string, MaxCarIds> names;
    for (int id = 1; id <= MaxCarIds; ++id)
        names[id - 1] = m_state.IdName(id);

    // A reset (or a name chosen since) shows the list afresh.
    if (!ShownRowsStillKept() || names != m_shownNames) {
        m_grid->setRowCount(0);
        m_shownRows = 0;
        m_shownNames = names;
    }

    const std::size_t kept = m_state.RejectedPasses.size();
    if (kept > m_shownRows) {
        QScrollBar* bar = m_grid->verticalScrollBar();
        const bool followNewest = bar->value() == bar->maximum();
        AppendRows(m_shownRows, kept);
        m_shownRows = kept;
        m_lastShown = m_state.RejectedPasses[kept - 1];
        if (followNewest)
            m_grid->scrollToBottom();
    }

    const QString footer = QString::fromStdString(RejectedPassesFooter(m_state));
    if (m_footer->text() != footer) {
        m_footer->setText(footer);
        m_footer->setVisible(!footer.isEmpty());
    }
}

void FrmRejectedPasses::AppendRows(std::size_t from, std::size_t to) {
    m_grid->setUpdatesEnabled(false);
    m_grid->setRowCount(static_cast<int>(to));
    for (std::size_t index = from; index < to; ++index) {
        const RejectedPassRow row = RejectedPassRowAt(m_state, index);
        for (int column = 0; column < RejectedPassesColumns; ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(row.Cell(column)));
            item->setTextAlignment(ColumnAlignment(column));
            m_grid->setItem(static_cast<int>(index), column, item);
        }
    }
    m_grid->setUpdatesEnabled(true);
}

} // namespace kesto
