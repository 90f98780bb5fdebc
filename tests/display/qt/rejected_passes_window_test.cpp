// The "Rejected Passes" window, headless: the table of dropped detections,
// read-only, following the race while open, emptied by a reset, one window.
#include "display/qt/rejected_passes_window.h"

#include "engine/lap_counting.h"
#include "support/qt/main_window_rig.h"
#include "support/test_doubles.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace kesto {
namespace {

class RejectedPassesWindow : public ::testing::Test {
protected:
    RejectedPassesWindow() {
        RaceState& s = race.state;
        s.Settings.FirstLapCount = 0;
        s.Settings.MinLapTime = 0.7f;
        s.LapCount.fill(0);
        s.BestLapTime.fill(NoBestLap);
        s.Names.IdName[2] = "Ann Bell";
    }
    void Pass(int id, int32_t ms) { CountLap(race.context, id, ms); }
    std::string Cell(const QTableWidget* grid, int row, int column) {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text().toStdString() : std::string("<none>");
    }

    test::TestRace race;
};

TEST_F(RejectedPassesWindow, ListsTheDroppedDetectionsReadOnly) {
    Pass(3, 4000);
    Pass(3, 4350);
    FrmRejectedPasses window(race.state);
    EXPECT_EQ(window.windowTitle(), "Rejected Passes");
    EXPECT_EQ(window.objectName(), "frmRejectedPasses");
    QTableWidget* grid = window.findChild<QTableWidget*>("grdRejectedPasses");
    ASSERT_EQ(grid, window.Grid());
    ASSERT_EQ(grid->columnCount(), 5);
    const char* heads[] = {"ID", "Name", "Time", "After last lap", "Reason"};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(grid->horizontalHeaderItem(column)->text(), heads[column]);
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(Cell(grid, 0, 0), "3");
    EXPECT_EQ(Cell(grid, 0, 1), "Ann Bell");
    EXPECT_EQ(Cell(grid, 0, 2), "0:04.35");
    EXPECT_EQ(Cell(grid, 0, 3), "0.35");
    EXPECT_EQ(Cell(grid, 0, 4), "Faster than the minimum lap time (0.70 s)");
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(window.Footer()->isVisibleTo(&window));
    EXPECT_FALSE(window.isModal());
}

TEST_F(RejectedPassesWindow, FollowsTheRaceOnItsOwnTimer) {
    FrmRejectedPasses window(race.state);
    EXPECT_EQ(window.RefreshTimer()->interval(), 500);
    EXPECT_TRUE(window.RefreshTimer()->isActive());
    EXPECT_EQ(window.Grid()->rowCount(), 0);

    Pass(3, 4000);
    Pass(3, 4100);
    Pass(5, 9000);
    Pass(5, 9200);
    QMetaObject::invokeMethod(window.RefreshTimer(), "timeout"); // one tick
    ASSERT_EQ(window.Grid()->rowCount(), 2);
    QTableWidgetItem* first = window.Grid()->item(0, 0);

    // Nothing new: the table is left alone.
    window.Refresh();
    EXPECT_EQ(window.Grid()->item(0, 0), first);

    // New passes are added below, the rows shown stay.
    race.state.LapRace = true;
    race.state.NumberOfLaps = 1;
    Pass(5, 20000); // car 5 has run its one lap
    window.Refresh();
    ASSERT_EQ(window.Grid()->rowCount(), 3);
    EXPECT_EQ(window.Grid()->item(0, 0), first);
    EXPECT_EQ(Cell(window.Grid(), 1, 0), "5");
    EXPECT_EQ(Cell(window.Grid(), 2, 4), "Race distance already run");
    EXPECT_EQ(Cell(window.Grid(), 2, 3), "11.00");
}

TEST_F(RejectedPassesWindow, AResetEmptiesItEvenWhenNewPassesCameQuickly) {
    Pass(3, 4000);
    Pass(3, 4100);
    FrmRejectedPasses window(race.state);
    ASSERT_EQ(window.Grid()->rowCount(), 1);

    race.state.RejectedPasses.clear(); // the start reset
    window.Refresh();
    EXPECT_EQ(window.Grid()->rowCount(), 0);

    Pass(3, 4500);
    window.Refresh();
    ASSERT_EQ(window.Grid()->rowCount(), 1);
    // A new race whose rejections outnumber the old list before the next refresh.
    race.state.RejectedPasses.clear();
    race.state.LastPassTime[6] = 0;
    for (int32_t t : {1000, 1100, 1200, 1300})
        Pass(7, t);
    window.Refresh();
    ASSERT_EQ(window.Grid()->rowCount(), 3);
    EXPECT_EQ(Cell(window.Grid(), 0, 0), "7");
    EXPECT_EQ(Cell(window.Grid(), 2, 2), "0:01.30");
}

TEST_F(RejectedPassesWindow, ANameChosenLaterShowsInEveryRow) {
    Pass(4, 2000);
    Pass(4, 2100);
    Pass(4, 2200);
    FrmRejectedPasses window(race.state);
    EXPECT_EQ(Cell(window.Grid(), 1, 1), "");
    race.state.Names.IdName[3] = "Cy Dee";
    window.Refresh();
    ASSERT_EQ(window.Grid()->rowCount(), 2);
    EXPECT_EQ(Cell(window.Grid(), 0, 1), "Cy Dee");
    EXPECT_EQ(Cell(window.Grid(), 1, 1), "Cy Dee");
}

TEST_F(RejectedPassesWindow, AFullListShowsTheFooter) {
    race.state.RejectedPassesNotKept = 12;
    FrmRejectedPasses window(race.state);
    EXPECT_TRUE(window.Footer()->isVisibleTo(&window));
    EXPECT_EQ(window.Footer()->text(),
              "12 more rejected passes were not kept (the list holds the first 10000).");
    race.state.RejectedPassesNotKept = 0;
    window.Refresh();
    EXPECT_FALSE(window.Footer()->isVisibleTo(&window));
}

TEST_F(RejectedPassesWindow, TenThousandRowsAreShownAndThenOnlyAppended) {
    Pass(1, 1000);
    for (int n = 0; n < static_cast<int>(MaxRejectedPasses); ++n)
        Pass(1, 1001 + n % 500);
    Pass(1, 1002); // only counted
    FrmRejectedPasses window(race.state);
    EXPECT_EQ(window.Grid()->rowCount(), static_cast<int>(MaxRejectedPasses));
    EXPECT_TRUE(window.Footer()->isVisibleTo(&window));
    EXPECT_EQ(window.Footer()->text().left(2), "1 ");
}

TEST_F(RejectedPassesWindow, TheMenuCommandKeepsOneWindowOpen) {
    QWidget owner;
    FrmRejectedPasses* first = FrmRejectedPasses::ShowModeless(race.state, &owner);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(first->isWindow());

    Pass(2, 1000);
    Pass(2, 1001);
    FrmRejectedPasses* again = FrmRejectedPasses::ShowModeless(race.state, &owner);
    EXPECT_EQ(again, first);
    EXPECT_EQ(first->Grid()->rowCount(), 1); // brought up to date at once

    first->close(); // deleted later
    FrmRejectedPasses* fresh = FrmRejectedPasses::ShowModeless(race.state, &owner);
    EXPECT_NE(fresh, first);
    EXPECT_TRUE(fresh->isVisible());
    fresh->close();
}

TEST_F(RejectedPassesWindow, OpenedFromTheViewDataMenuBelowHits) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kesto-rejected-passes-menu";
    std::filesystem::create_directories(folder);
    {
        test::MainWindowRig rig(race, folder);
        FrmKestoTimer& window = rig.window;
        QMenu* viewData = window.findChild<QMenu*>(QStringLiteral("mnuViewData"));
        ASSERT_NE(viewData, nullptr);
        QStringList texts;
        for (QAction* action : viewData->actions())
            texts << action->text();
        EXPECT_EQ(texts, (QStringList{QStringLiteral("Lap Times"), QStringLiteral("Summary"),
                                      QStringLiteral("Hits"), QStringLiteral("Rejected Passes")}));
        auto* item = window.findChild<QAction*>(QStringLiteral("mnuRejectedPasses"));
        ASSERT_NE(item, nullptr);
        item->trigger(); // nothing plugged in: nothing happens
        int opened = 0;
        QObject::connect(item, &QAction::triggered, [&] { ++opened; });
        item->trigger();
        EXPECT_EQ(opened, 1);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kesto
