// The hits table: a head row and 14 numbered rows with empty data cells.
#include "display/qt/hits_window.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableWidget>

namespace kesto {
namespace {

int Twips(int twips, const QWidget& widget) {
    return (twips * widget.logicalDpiX() + 720) / 1440;
}

TEST(HitsWindow, ShowsFourteenNumberedRowsWithEmptyCells) {
    FrmHits window;
    EXPECT_EQ(window.windowTitle(), "Hits");
    QTableWidget* grid = window.findChild<QTableWidget*>("grdHits");
    ASSERT_EQ(grid, window.Grid());
    ASSERT_EQ(grid->rowCount(), 14);
    ASSERT_EQ(grid->columnCount(), 4);
    const char* heads[] = {"ID", "Hits", "Min", "Max"};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(grid->horizontalHeaderItem(column)->text(), heads[column]);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->textAlignment(), int(Qt::AlignCenter));
    for (int row = 0; row < 14; ++row) {
        QTableWidgetItem* id = grid->item(row, 0);
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(id->text(), QString::number(row + 1));
        EXPECT_EQ(id->textAlignment(), int(Qt::AlignCenter));
        for (int column = 1; column < 4; ++column) {
            QTableWidgetItem* cell = grid->item(row, column);
            EXPECT_TRUE(cell == nullptr || cell->text().isEmpty()) << row << "," << column;
        }
    }
}

TEST(HitsWindow, SizesItsColumnsInTwips) {
    FrmHits window;
    QTableWidget* grid = window.Grid();
    EXPECT_EQ(grid->columnWidth(0), Twips(500, window));
    for (int column = 1; column < 4; ++column)
        EXPECT_EQ(grid->columnWidth(column), Twips(750, window));
    EXPECT_EQ(grid->width(), Twips(2850, window));
    EXPECT_EQ(window.width(), Twips(2850, window) + Twips(100, window));
}

} // namespace
} // namespace kesto
