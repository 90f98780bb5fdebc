// The hits table: a head row and 14 numbered rows; Min and Max show each
// car's shortest and longest counted lap of the race, the Hits cells stay empty.
#include "display/qt/hits_window.h"

#include "engine/lap_counting.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>

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

std::string Cell(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text().toStdString() : std::string();
}

class HitsWindowRace : public ::testing::Test {
protected:
    HitsWindowRace() {
        race.state.Settings.FirstLapCount = 0;
        race.state.Settings.MinLapTime = 1.0f;
        race.state.LapCount.fill(0);
        race.state.BestLapTime.fill(NoBestLap);
    }
    void Pass(int id, int32_t ms) { CountLap(race.context, id, ms); }
    test::TestRace race;
};

TEST_F(HitsWindowRace, MinAndMaxAreTheShortestAndLongestCountedLaps) {
    for (int32_t t : {4000, 9500, 9800 /* too soon */, 14250})
        Pass(2, t);
    Pass(9, 6000);
    Pass(9, 12000);
    FrmHits window(&race.state);
    QTableWidget* grid = window.Grid();
    // Lap 1, timed from the start, is no best lap and no Min either.
    EXPECT_EQ(Cell(grid, 1, 2), "4.75");
    EXPECT_EQ(Cell(grid, 1, 3), "5.50");
    EXPECT_EQ(Cell(grid, 8, 2), "6.00");
    EXPECT_EQ(Cell(grid, 8, 3), "6.00");
    for (int row = 0; row < 14; ++row) {
        EXPECT_EQ(Cell(grid, row, 1), "") << row; // Hits has no source
        if (row != 1 && row != 8) {
            EXPECT_EQ(Cell(grid, row, 2), "") << row;
            EXPECT_EQ(Cell(grid, row, 3), "") << row;
        }
        EXPECT_EQ(Cell(grid, row, 0), std::to_string(row + 1));
    }
    // The rest of the window is as it always was.
    EXPECT_EQ(window.windowTitle(), "Hits");
    EXPECT_EQ(grid->columnCount(), 4);
    EXPECT_EQ(grid->rowCount(), 14);
    EXPECT_EQ(grid->columnWidth(2), Twips(750, window));
    EXPECT_EQ(window.width(), Twips(2850, window) + Twips(100, window));
}

TEST_F(HitsWindowRace, FollowsTheRaceWhileOpenAndEmptiesOnAReset) {
    FrmHits window(&race.state);
    ASSERT_NE(window.RefreshTimer(), nullptr);
    EXPECT_EQ(window.RefreshTimer()->interval(), 500);
    EXPECT_TRUE(window.RefreshTimer()->isActive());
    EXPECT_EQ(Cell(window.Grid(), 0, 2), "");

    Pass(1, 3000);
    Pass(1, 10000);
    Pass(1, 13000);
    QMetaObject::invokeMethod(window.RefreshTimer(), "timeout"); // one tick
    EXPECT_EQ(Cell(window.Grid(), 0, 2), "3.00");
    EXPECT_EQ(Cell(window.Grid(), 0, 3), "7.00");

    race.state.LapCount.fill(0); // the start reset of the next race
    window.RefreshLapRanges();
    EXPECT_EQ(Cell(window.Grid(), 0, 2), "");
    EXPECT_EQ(Cell(window.Grid(), 0, 3), "");
}

TEST_F(HitsWindowRace, TheMenuCommandShowsTheRaceWithoutBlocking) {
    Pass(4, 1000);
    Pass(4, 3500);
    QWidget owner;
    FrmHits* window = FrmHits::ShowModeless(&owner, &race.state);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(Cell(window->Grid(), 3, 2), "2.50");

    // Used again: the open window comes back to the front, up to date.
    window->showMinimized();
    Pass(4, 5500);
    EXPECT_EQ(FrmHits::ShowModeless(&owner, &race.state), window);
    EXPECT_EQ(owner.findChildren<FrmHits*>().size(), 1);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(Cell(window->Grid(), 3, 2), "2.00");
    window->close();
}

} // namespace
} // namespace kesto
