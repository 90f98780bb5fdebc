#include "display/qt/hits_window.h"

#include "base/settings_records.h"
#include "display/hits_rows.h"
#include "display/qt/one_window.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kesto {
namespace {

constexpr int IdColumnTwips = 500;
constexpr int DataColumnTwips = 750;
constexpr int GridWidthTwips = 2850;
constexpr int WindowExtraTwips = 100;
constexpr int MinColumn = 2;
constexpr int MaxColumn = 3;

// 1440 twips to the inch, at the screen's logical resolution.
int TwipsToPixels(int twips, const QWidget* widget) {
    return (twips * widget->logicalDpiX() + 720) / 1440;
}

} // namespace

FrmHits::FrmHits(QWidget* parent) : FrmHits(nullptr, parent) {}

FrmHits::FrmHits(const RaceState* state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state) {
    setObjectName(QStringLiteral("frmHits"));
    setWindowTitle(QStringLiteral("Hits"));

    m_grdHits = new QTableWidget(MaxCarIds, 4, this);
    m_grdHits->setObjectName(QStringLiteral("grdHits"));
    m_grdHits->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdHits->setSelectionMode(QAbstractItemView::NoSelection);
    m_grdHits->setFocusPolicy(Qt::NoFocus);
    m_grdHits->verticalHeader()->setVisible(false);
    m_grdHits->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // The head row is the grid's header; "ID" centred like its column.
    const char* heads[] = {"ID", "Hits", "Min", "Max"};
    for (int column = 0; column < 4; ++column) {
        auto* head = new QTableWidgetItem(QString::fromLatin1(heads[column]));
        head->setTextAlignment(Qt::AlignCenter);
        m_grdHits->setHorizontalHeaderItem(column, head);
        m_grdHits->setColumnWidth(
            column, TwipsToPixels(column == 0 ? IdColumnTwips : DataColumnTwips, this));
    }
    for (int id = 1; id <= MaxCarIds; ++id) {
        auto* item = new QTableWidgetItem(QString::number(id));
        item->setTextAlignment(Qt::AlignCenter);
        m_grdHits->setItem(id - 1, 0, item);
    }

    int gridWidth = TwipsToPixels(GridWidthTwips, this);
    int rowsHeight = m_grdHits->horizontalHeader()->sizeHint().height();
    for (int row = 0; row < MaxCarIds; ++row)
        rowsHeight += m_grdHits->rowHeight(row);
    m_grdHits->setFixedSize(gridWidth, rowsHeight + 2 * m_grdHits->frameWidth());

    auto* layout = new QVBoxLayout(this);
    int margin = TwipsToPixels(WindowExtraTwips, this) / 2;
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(m_grdHits);
    setFixedWidth(gridWidth + TwipsToPixels(WindowExtraTwips, this));

    if (m_state) {
        m_timer = new QTimer(this);
        m_timer->setObjectName(QStringLiteral("tmrRefresh"));
        m_timer->setInterval(RefreshIntervalMs);
        connect(m_timer, &QTimer::timeout, this, &FrmHits::RefreshLapRanges);
        m_timer->start();
        RefreshLapRanges();
    }
}

FrmHits* FrmHits::ShowModeless(QWidget* parent, const RaceState* state) {
    if (FrmHits* open = BringOpenWindowToFront<FrmHits>(parent)) {
        open->RefreshLapRanges();
        return open;
    }
    auto* window = new FrmHits(state, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void FrmHits::RefreshLapRanges() {
    if (!m_state)
        return;
    const std::array<HitsLapRange, MaxCarIds> ranges = HitsLapRanges(*m_state);
    for (int row = 0; row < MaxCarIds; ++row) {
        SetCell(row, MinColumn, ranges[row].min);
        SetCell(row, MaxColumn, ranges[row].max);
    }
}

void FrmHits::SetCell(int row, int column, const std::string& text) {
    const QString value = QString::fromStdString(text);
    QTableWidgetItem* item = m_grdHits->item(row, column);
    if (!item) {
        if (value.isEmpty())
            return;
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grdHits->setItem(row, column, item);
    }
    if (item->text() != value)
        item->setText(value);
}

} // namespace kesto
