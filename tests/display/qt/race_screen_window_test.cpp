// The race screen frmKestoTimer, headless: what the rows show during a race
// and a practice, the column toggles, clearing best laps, choosing names, the
// clock and row sizes, the keyboard, resizing and leaving the program, all
// through the window's own controls.
#include "display/qt/race_screen_window.h"

#include "config/settings_files.h"
#include "support/qt/main_window_rig.h"
#include "tools/decoder-sim/decoder_lines.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include <unistd.h>

namespace kesto {
namespace {

using sim::ClockLine;
using sim::DetectionLine;
using test::Child;

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}
std::string Text(const RowLabel* label) {
    return label->text().toStdString();
}

// The first and last pixel rows of a row cell where its text has ink.
std::pair<int, int> InkRows(RowLabel* cell) {
    const QImage image = cell->grab().toImage();
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != cell->backgroundColor()) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return {top, bottom};
}

// What the test process holds in memory, in kilobytes.
long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

QColor FromWindows(int32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

class RaceScreenWindow : public test::MainWindowTest {
protected:
    // The pointer moved over a control.
    void MoveOver(QWidget* widget, QPointF at = QPointF(2, 2)) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(widget, button);
    }
    void WriteFile(const std::string& name, const std::string& content) {
        WriteBytes(folder / name, content);
    }
    int Pixels(double twips) const { return TwipsToPixels(&Window(), twips); }
    // The pointer pictures, a red hand and a blue racer.
    void WritePointerPictures() {
        QPixmap picture(32, 32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(QString::fromStdString((folder / "handred.ico").string()), "ICO"));
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(QString::fromStdString((folder / "racer.ico").string()), "ICO"));
    }
    // The picture of the window's pointer: "hand", "racer" or "default".
    std::string PointerShown() const {
        const QCursor cursor = Window().cursor();
        if (cursor.shape() != Qt::BitmapCursor)
            return "default";
        const QColor color = cursor.pixmap().toImage().pixelColor(16, 16);
        return color == QColor(Qt::red) ? "hand" : color == QColor(Qt::blue) ? "racer" : "?";
    }
    // Counts the uses of a menu command.
    int* Count(const char* action) {
        counters.push_back(std::make_unique<int>(0));
        int* counter = counters.back().get();
        QObject::connect(Child<QAction>(&Window(), action), &QAction::triggered, &Window(),
                         [counter] { ++*counter; });
        return counter;
    }
    std::vector<std::unique_ptr<int>> counters;
};

TEST_F(RaceScreenWindow, ControlsSitAtTheirDesignPlacesInTwips) {
    QWidget* canvas = Window().centralWidget();
    EXPECT_EQ(canvas->width(), Pixels(11700));
    EXPECT_EQ(canvas->height(), Pixels(5295));
    EXPECT_EQ(canvas->palette().color(QPalette::Window), QColor(Qt::black));

    RowLabel* name3 = Row("lblName", 3);
    EXPECT_EQ(name3->geometry(),
              QRect(Pixels(525), Pixels(420 + 2 * 345), Pixels(3255), Pixels(345)));
    EXPECT_EQ(Row("lblBest", 14)->x(), Pixels(8070));
    EXPECT_EQ(Row("lblBest", 14)->y(), Pixels(420 + 13 * 345));
    EXPECT_TRUE(Row("lblLapNum", 1)->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(Row("lblName", 1)->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(Row("lblName", 1)->testAttribute(Qt::WA_OpaquePaintEvent))
        << "row labels are opaque";
    EXPECT_TRUE(Row("lblName", 1)->font().bold());
    EXPECT_EQ(Row("lblName", 1)->font().pointSizeF(), 15.75);

    EXPECT_EQ(Text(Label("lblClock")), "00:00");
    EXPECT_EQ(Label("lblClock")->font().pointSizeF(), 32.25);
    EXPECT_EQ(Text(Label("lblRaceOver")), "Race  Over");
    EXPECT_TRUE(Label("lblRaceOver")->isHidden());
    EXPECT_EQ(Text(Label("lblDemo")), "Demo");
    EXPECT_EQ(Label("lblDemo")->font().pointSizeF(), 27.75);
    EXPECT_EQ(rig->StartButton()->text(), QStringLiteral("Start"));
    EXPECT_EQ(rig->StartButton()->font().pointSizeF(), 14.25);
    EXPECT_EQ(Text(Label("lblLapTime_0")), "Lap Time");
}

TEST_F(RaceScreenWindow, MenusCarryTheirTexts) {
    QStringList titles;
    for (QAction* action : Window().menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("R&ace Format"),
                                   QStringLiteral("&View Data"), QStringLiteral("&Racers"),
                                   QStringLiteral("&Settings"), QStringLiteral("&Help")}));
    auto items = [](QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        return texts;
    };
    EXPECT_EQ(items(rig->Menu("mnuFile")),
              (QStringList{QStringLiteral("&Open"), QStringLiteral("E&xit")}));
    EXPECT_EQ(items(rig->Menu("mnuSettingsMenu")),
              (QStringList{QStringLiteral("S&ound"), QStringLiteral("Settings")}));
    EXPECT_EQ(items(rig->Menu("mnuHelpMenu")),
              (QStringList{QStringLiteral("Help"), QStringLiteral("Diagnostic..."),
                           QStringLiteral("Lapmark Web site..."), QStringLiteral("About...")}));
    EXPECT_EQ(Child<QAction>(&Window(), "mnuDiagnostic")->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_D));

    int* hits = Count("mnuHits");
    rig->Trigger("mnuHits");
    EXPECT_EQ(*hits, 1);
    // A menu whose window is not connected does nothing.
    rig->Trigger("mnuSettings");
}

TEST_F(RaceScreenWindow, RaceRowsFollowPositionsWithEachCarsColourIdAndName) {
    StartRace();
    EXPECT_FALSE(rig->Menu("mnuFile")->menuAction()->isEnabled());
    // ID 2 and 7 on 2 laps, 7 crossing first; ID 1 on 1 lap.
    Decoder(DetectionLine(2, 500) + DetectionLine(7, 600) + DetectionLine(1, 700));
    Decoder(DetectionLine(7, 4100) + DetectionLine(2, 4300) + ClockLine(4000));
    Decoder("");
    ASSERT_EQ(race.state.LapCount[6], 2);

    EXPECT_EQ(Text(Row("lblID", 1)), "7");
    EXPECT_EQ(Text(Row("lblName", 1)), " Racer 7");
    EXPECT_EQ(Text(Row("lblID", 2)), "2");
    EXPECT_EQ(Text(Row("lblID", 3)), "1");
    EXPECT_EQ(Text(Row("lblID", 4)), "3");
    for (int r = 1; r <= 4; ++r) {
        const int id = std::stoi(Text(Row("lblID", r)));
        const QColor color = FromWindows(race.state.Settings.IdColor[id - 1]);
        EXPECT_EQ(Row("lblID", r)->backgroundColor(), color);
        EXPECT_EQ(Row("lblBest", r)->backgroundColor(), color);
    }
    EXPECT_EQ(Text(Row("lblLapNum", 1)), "2");
    EXPECT_EQ(Text(Row("lblLapTime", 1)), "3.50");
    EXPECT_EQ(Text(Row("lblBest", 1)), "3.50 ");
    EXPECT_EQ(Text(Row("lblLagTime", 1)), "0.00");
    EXPECT_EQ(Text(Row("lblLagTime", 2)), "0.20");
    EXPECT_EQ(Text(Row("lblLagTime", 3)), "0.20")
        << "measured to car 2 once car 7 had moved ahead; kept until car 1 crosses again";
    EXPECT_EQ(Text(Label("lblClock")), "0:04");
}

// Bytes from the decoder run a tick at once: the lap is on the screen without
// waiting for Timer1's next 10 ms; with the race not timed they run none.
TEST_F(RaceScreenWindow, ALineArrivingBetweenTicksIsShownAtOnce) {
    race.port.Feed(DetectionLine(5, 100));
    race.port.inputArrived();
    EXPECT_EQ(race.port.input.size(), DetectionLine(5, 100).size()) << "no race: nothing read";
    StartRace();
    race.port.Feed(DetectionLine(5, 500));
    race.port.inputArrived();
    EXPECT_EQ(Text(Row("lblID", 1)), "5");
    EXPECT_EQ(Text(Row("lblLapNum", 1)), "1");
}

TEST_F(RaceScreenWindow, LapTimesAroundAMinuteAndTheMedianOnWholeSeconds) {
    StartRace();
    Decoder(DetectionLine(3, 100) + DetectionLine(4, 100));
    Decoder(DetectionLine(3, 60090) + DetectionLine(4, 60100));
    ASSERT_EQ(Text(Row("lblID", 1)), "3");
    EXPECT_EQ(Text(Row("lblLapTime", 1)), "59.99");
    EXPECT_EQ(Text(Row("lblLapTime", 2)), "60");

    // The median column: written on whole seconds only.
    Click(Label("lblBestLap")); // MPH
    Click(Label("lblBestLap")); // Median
    ASSERT_EQ(Text(Label("lblBestLap")), "Median");
    race.state.RaceClock = 61000;
    rig->control.RefreshRaceScreen();
    const std::string median = race.state.MedianLap[2];
    ASSERT_FALSE(median.empty());
    EXPECT_EQ(Text(Row("lblBest", 1)), median);
    race.state.SortedLapTimes[2][1] = 13.5f; // laps that would change the median
    race.state.SortedLapTimes[2][2] = 12.5f;
    race.state.RaceClock = 61500;
    rig->control.RefreshRaceScreen();
    EXPECT_EQ(Text(Row("lblBest", 1)), median) << "between whole seconds the cell stays";
    race.state.RaceClock = 62000;
    rig->control.RefreshRaceScreen();
    EXPECT_EQ(Text(Row("lblBest", 1)), "13.50");
}

TEST_F(RaceScreenWindow, PracticeKeepsIdOrderAndLeavesUndetectedCarsEmpty) {
    race.state.LapRace = false;
    race.state.PracticeMode = true;
    rig->control.ReSet();
    EXPECT_EQ(Text(Label("lblLag")), "Median");
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Kesto Timer - Practice"));
    StartRace();
    Decoder(DetectionLine(9, 100) + DetectionLine(9, 3100) + DetectionLine(9, 7100));
    for (int k = 1; k <= MaxCarIds; ++k) {
        EXPECT_EQ(Text(Row("lblID", k)), std::to_string(k));
        if (k != 9) {
            EXPECT_EQ(Text(Row("lblLapNum", k)), "") << "ID " << k;
            EXPECT_EQ(Text(Row("lblLapTime", k)), "");
        }
    }
    EXPECT_EQ(Text(Row("lblLapNum", 9)), "3");
    EXPECT_EQ(Text(Row("lblLapTime", 9)), "4.00");
}

TEST_F(RaceScreenWindow, NameCellsSelectNameAgainstALoneBlank) {
    race.state.Names.IdName[4].clear();
    Window().LoadNames();
    EXPECT_EQ(Text(Row("lblName", 5)), " Select Name");
    race.state.RaceClock = 0;
    rig->control.RefreshRaceScreen();
    EXPECT_EQ(Text(Row("lblName", 5)), " ");
}

TEST_F(RaceScreenWindow, BestColumnTogglesThroughThreeModesInARaceAndTwoInPractice) {
    for (const char* expected : {"MPH", "Median", "Best Lap"}) {
        Click(Label("lblBestLap"));
        EXPECT_EQ(Text(Label("lblBestLap")), expected);
        EXPECT_EQ(race.state.BestColumnMode, expected);
    }
    QTest::keyClick(&Window(), Qt::Key_F5);
    EXPECT_EQ(Text(Label("lblBestLap")), "MPH");

    race.state.LapRace = false;
    race.state.PracticeMode = true;
    for (const char* expected : {"Best Lap", "MPH", "Best Lap", "MPH"}) {
        Click(Label("lblBestLap"));
        EXPECT_EQ(Text(Label("lblBestLap")), expected);
    }
}

TEST_F(RaceScreenWindow, LagColumnTogglesInARaceAndStaysMedianInPractice) {
    for (const char* expected : {"Lag First", "Median", "Lag Behind"}) {
        Click(Label("lblLag"));
        EXPECT_EQ(Text(Label("lblLag")), expected);
    }
    QTest::keyClick(&Window(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(Text(Label("lblLag")), "Lag First");

    race.state.LapRace = false;
    race.state.PracticeMode = true;
    Window().ComposeTitle();
    Click(Label("lblLag"));
    Click(Label("lblLag"));
    EXPECT_EQ(Text(Label("lblLag")), "Median");
}

TEST_F(RaceScreenWindow, TheLagModeChosenOutlivesResetAndPractice) {
    Click(Label("lblLag"));
    rig->control.ReSet();
    EXPECT_EQ(Text(Label("lblLag")), "Lag First");
    race.state.LapRace = false;
    race.state.PracticeMode = true;
    rig->control.ReSet();
    EXPECT_EQ(Text(Label("lblLag")), "Median");
    race.state.PracticeMode = false;
    race.state.LapRace = true;
    rig->control.ReSet();
    EXPECT_EQ(Text(Label("lblLag")), "Lag First");
}

TEST_F(RaceScreenWindow, TogglesRefreshAtOnceDuringARace) {
    StartRace();
    race.state.SpeedMultiplier = 1000;
    Decoder(DetectionLine(5, 100) + DetectionLine(5, 2600) + DetectionLine(5, 5100));
    EXPECT_EQ(Text(Row("lblBest", 1)), "2.50 ");
    Click(Label("lblBestLap"));
    EXPECT_EQ(Text(Row("lblBest", 1)), "400.0 ");
}

TEST_F(RaceScreenWindow, ClickingTheBestCellOfRowThreeClearsTheCarInThirdPlace) {
    StartRace();
    Decoder(DetectionLine(11, 100) + DetectionLine(6, 200) + DetectionLine(8, 300));
    Decoder(DetectionLine(11, 3100) + DetectionLine(6, 3200) + DetectionLine(8, 3300));
    Decoder(DetectionLine(11, 6100) + DetectionLine(6, 6200) + DetectionLine(8, 6300));
    ASSERT_EQ(Text(Row("lblID", 3)), "8");
    ASSERT_EQ(Text(Row("lblBest", 3)), "3.00 ");

    Click(Row("lblBest", 3));
    EXPECT_EQ(race.state.BestLapTime[7], NoBestLap) << "ID 8 is third";
    EXPECT_EQ(Text(Row("lblBest", 3)), "");
    EXPECT_NE(race.state.BestLapTime[10], NoBestLap);

    // In MPH mode a click changes nothing.
    Click(Label("lblBestLap"));
    Click(Row("lblBest", 1));
    EXPECT_NE(race.state.BestLapTime[10], NoBestLap);
}

TEST_F(RaceScreenWindow, BestCellClickDoesNothingOnceTheRaceIsClosed) {
    StartRace();
    Decoder(DetectionLine(1, 100) + DetectionLine(1, 3100) + DetectionLine(1, 6100));
    race.dialogs.answers = {MessageAnswer::Yes};
    rig->StartButton()->click(); // Abort, answered Yes
    ASSERT_FALSE(race.state.TimerEnabled);
    race.state.BestLapTime[0] = 3000;
    Click(Row("lblBest", 1));
    EXPECT_EQ(race.state.BestLapTime[0], 3000);
}

TEST_F(RaceScreenWindow, DigitKeysClearBestLapsWithoutABeep) {
    StartRace();
    race.state.BestLapTime.fill(4000);
    QTest::keyClick(&Window(), Qt::Key_3, Qt::ShiftModifier);
    EXPECT_EQ(race.state.BestLapTime[12], NoBestLap) << "Shift+3 is ID 13";
    EXPECT_EQ(race.state.BestLapTime[2], 4000);
    QTest::keyClick(Row("lblName", 1), Qt::Key_NumberSign, Qt::ShiftModifier);
    EXPECT_EQ(race.state.BestLapTime[2], 4000);
    QTest::keyClick(&Window(), Qt::Key_3);
    EXPECT_EQ(race.state.BestLapTime[2], NoBestLap);
    QTest::keyClick(&Window(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(race.state.BestLapTime[9], NoBestLap);
    QTest::keyClick(&Window(), Qt::Key_7, Qt::AltModifier);
    EXPECT_EQ(race.state.BestLapTime[6], NoBestLap);
    QTest::keyClick(&Window(), Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(race.state.BestLapTime[3], NoBestLap) << "the numeric pad is no modifier";
}

TEST(DigitOfKey, ShiftedSymbolsAndKeyCodesOfTheMainRow) {
    EXPECT_EQ(DigitOfKey(Qt::Key_5, Qt::NoModifier, 0), 5);
    EXPECT_EQ(DigitOfKey(Qt::Key_NumberSign, Qt::ShiftModifier, 0), 3);
    EXPECT_EQ(DigitOfKey(Qt::Key_ParenRight, Qt::ShiftModifier, 0), 0);
    EXPECT_EQ(DigitOfKey(Qt::Key_section, Qt::ShiftModifier, 12), 3); // a German "3"
    EXPECT_EQ(DigitOfKey(Qt::Key_A, Qt::ShiftModifier, 38), -1);
    EXPECT_EQ(DigitOfKey(Qt::Key_NumberSign, Qt::NoModifier, 0), -1);
}

TEST_F(RaceScreenWindow, CtrlShiftBOpensTheRawRecordWindow) {
    int* opened = Count("mnuSendCommand");
    QTest::keyClick(&Window(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&Window(), Qt::Key_B,
                    Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(*opened, 0);
    QTest::keyClick(&Window(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(*opened, 1);
}

TEST_F(RaceScreenWindow, NameChoiceFindsTheShownNameAndAssignsOnlyWhenChosen) {
    WriteFile("kestoRacers.dat", "\"Ann\"\r\n\"Bob\"\r\n");
    Window().LoadRacerLists();
    QComboBox* combo = rig->NameList(2);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Empty"));

    race.state.Names.IdName[1] = "Bob";
    Window().LoadNames();
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Click(Row("lblName", 5));
    ASSERT_TRUE(rig->NameList(5)->isVisible());
    Click(Row("lblName", 2));
    EXPECT_TRUE(combo->isVisible());
    EXPECT_FALSE(rig->NameList(5)->isVisible()) << "the other lists close";
    EXPECT_EQ(combo->currentText(), QStringLiteral("Bob"));
    EXPECT_EQ(race.state.Names.NamedId[1], 0) << "finding the name assigns nothing";

    combo->setCurrentIndex(0); // as the operator's choice does before it is reported
    emit combo->activated(0);
    EXPECT_EQ(Text(Row("lblName", 2)), " Ann");
    EXPECT_EQ(race.state.Names.IdName[1], "Ann");
    EXPECT_EQ(race.state.Names.NamedId[1], 2);

    // A choice arriving while the list is hidden never assigns a name.
    Window().centralWidget()->setFocus(); // the list loses the focus
    EXPECT_FALSE(combo->isVisible());
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(race.state.Names.IdName[1], "Ann");

    // No entry matches: the last one ("Empty") is selected.
    race.state.Names.IdName[3] = "Zed";
    Window().LoadNames();
    Click(Row("lblName", 4));
    EXPECT_EQ(rig->NameList(4)->currentText(), QStringLiteral("Empty"));
    EXPECT_TRUE(rig->NameList(4)->isVisible());
    Window().hide();
}

TEST_F(RaceScreenWindow, NameClickDuringARaceOnlyClosesTheOtherLists) {
    WriteFile("kestoRacers.dat", "\"Ann\"\r\n");
    Window().LoadRacerLists();
    Window().show();
    Click(Row("lblName", 6));
    ASSERT_TRUE(rig->NameList(6)->isVisible());
    StartRace();
    Click(Row("lblName", 2));
    EXPECT_FALSE(rig->NameList(2)->isVisible());
    EXPECT_FALSE(rig->NameList(6)->isVisible());
    Window().hide();
}

TEST_F(RaceScreenWindow, ANameIsChosenWithTheMouseThroughTheListsOwnPopup) {
    WriteFile("kestoRacers.dat", "\"Ann\"\r\n\"Bob\"\r\n");
    Window().LoadRacerLists();
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Click(Row("lblName", 3));
    QComboBox* combo = rig->NameList(3);
    ASSERT_TRUE(combo->isVisible());
    // The first click drops the list down: its popup taking the focus is
    // part of choosing, not the box losing it.
    Click(combo);
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible());
    EXPECT_TRUE(combo->isVisible());
    const QPoint bob(10, list->visualRect(list->model()->index(1, 0)).center().y());
    MoveOver(list->viewport(), bob); // the pointer goes down to Bob
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, bob);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Text(Row("lblName", 3)), " Bob");
    EXPECT_EQ(race.state.Names.IdName[2], "Bob");
    EXPECT_EQ(race.state.Names.NamedId[2], 3);
    Window().hide();
}

TEST_F(RaceScreenWindow, TheFourteenNameListsShareOneModelOfTheRoster) {
    std::string roster;
    for (int i = 1; i <= 10000; ++i)
        roster += "\"Racer number " + std::to_string(i) + "\"\r\n";
    WriteFile("kestoRacers.dat", roster);
    const long before = ResidentKilobytes();
    Window().LoadRacerLists();
    const long grown = ResidentKilobytes() - before;
    const QAbstractItemModel* model = rig->NameList(1)->model();
    EXPECT_EQ(model->rowCount(), 10001);
    EXPECT_EQ(model->index(10000, 0).data().toString(), QStringLiteral("Empty"));
    for (int k = 2; k <= 14; ++k)
        EXPECT_EQ(rig->NameList(k)->model(), model) << "row " << k;
    EXPECT_LT(grown, 4096) << "kilobytes: the roster is held once, not once per row";
}

TEST_F(RaceScreenWindow, ClockGrowsToSeventyEightAndShrinksToTwelve) {
    QLabel* clock = Label("lblClock");
    std::vector<double> sizes;
    for (int i = 0; i < 30; ++i) {
        Click(clock, Qt::LeftButton);
        sizes.push_back(clock->font().pointSizeF());
    }
    EXPECT_EQ(sizes.front(), 34);
    EXPECT_EQ(sizes[1], 36);
    EXPECT_EQ(sizes.back(), 78);
    EXPECT_EQ(sizes[22], 78) << "34 + 2 * 22 = 78, then no further";
    for (int i = 0; i < 40; ++i)
        Click(clock, Qt::RightButton);
    EXPECT_EQ(clock->font().pointSizeF(), 12);
    Click(clock, Qt::MiddleButton);
    EXPECT_EQ(clock->font().pointSizeF(), 12);
}

TEST_F(RaceScreenWindow, RowTextGrowsWithF9To39AndF8StopsAtSixteen) {
    QTest::keyClick(&Window(), Qt::Key_F8);
    EXPECT_EQ(Row("lblName", 1)->font().pointSizeF(), 15.75) << "no smaller than the design";
    QTest::keyClick(&Window(), Qt::Key_F9);
    EXPECT_EQ(Row("lblName", 1)->font().pointSizeF(), 17);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(&Window(), Qt::Key_F9);
    EXPECT_EQ(Row("lblName", 1)->font().pointSizeF(), 39);
    EXPECT_EQ(Row("lblBest", 14)->font().pointSizeF(), 39);
    EXPECT_EQ(Label("lblBestLap")->font().pointSizeF(), 14.25) << "headers keep their size";
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(&Window(), Qt::Key_F8);
    EXPECT_EQ(Row("lblName", 1)->font().pointSizeF(), 16);
    EXPECT_EQ(Row("lblID", 7)->font().pointSizeF(), 16);
}

TEST_F(RaceScreenWindow, RowTextNeverClipsAtAnyRowSizeTheKeysAllow) {
    race.state.Names.IdName[0] = "Zo\xc3\xab Gjpqy"; // capitals above, descenders below
    Window().LoadNames();
    for (int size = 17; size <= 39; ++size) {
        QTest::keyClick(&Window(), Qt::Key_F9);
        for (RowLabel* cell : {Row("lblName", 1), Row("lblID", 14)}) {
            ASSERT_EQ(cell->font().pointSizeF(), size);
            const auto [top, bottom] = InkRows(cell);
            EXPECT_GT(top, 0) << size << " pt";
            EXPECT_LT(bottom, cell->height() - 1) << size << " pt";
            EXPECT_GT(bottom - top, cell->height() / 3) << "as large as the row holds";
        }
    }
}

TEST_F(RaceScreenWindow, ResizingScalesTheScreenAndKeepsTheLogoInProportion) {
    QWidget* canvas = Window().centralWidget();
    const QRect design = Row("lblLapNum", 5)->geometry();
    Window().show();
    QApplication::processEvents();
    Window().resize(canvas->width() * 2, canvas->height() * 2 + Window().menuBar()->height());
    QApplication::processEvents();
    ASSERT_EQ(canvas->size(), QSize(Pixels(11700) * 2, Pixels(5295) * 2));
    EXPECT_NEAR(Row("lblLapNum", 5)->x(), design.x() * 2, 1);
    EXPECT_NEAR(Row("lblLapNum", 5)->y(), design.y() * 2, 1);
    EXPECT_NEAR(Row("lblLapNum", 5)->width(), design.width() * 2, 1);
    EXPECT_NEAR(Row("lblName", 1)->font().pointSizeF(), 31.5, 0.01);
    EXPECT_NEAR(Label("imgLapmark")->height(), 0.38 * Label("imgLapmark")->width(), 0.5);

    const int before = Row("lblBest", 1)->x();
    Window().resize(Window().width() + 300, Window().height());
    QApplication::processEvents();
    EXPECT_GT(Row("lblBest", 1)->x(), before);
    Window().hide();
}

TEST_F(RaceScreenWindow, PointersAndTooltipsFollowTheRaceState) {
    WritePointerPictures();
    MoveOver(Label("lblBestLap"));
    EXPECT_EQ(PointerShown(), "hand");
    EXPECT_EQ(Label("lblBestLap")->toolTip(),
              QStringLiteral("Click to toggle between \"Best Lap\" and \"MPH\" and \"Median\""));
    MoveOver(Label("lblClock"));
    EXPECT_EQ(PointerShown(), "default");
    MoveOver(Row("lblName", 3));
    EXPECT_EQ(PointerShown(), "racer");
    EXPECT_EQ(Row("lblName", 3)->toolTip(), QStringLiteral("Click to select name"));
    MoveOver(Label("lblRaceFormat"));
    EXPECT_EQ(PointerShown(), "hand");

    StartRace();
    MoveOver(Row("lblBest", 2));
    EXPECT_EQ(PointerShown(), "hand");
    EXPECT_EQ(Row("lblBest", 2)->toolTip(), QStringLiteral("Click to reset \"Best Lap\""));
    MoveOver(Label("lblRaceFormat"));
    EXPECT_EQ(PointerShown(), "default");
    EXPECT_EQ(Label("lblRaceFormat")->toolTip(), QString());
}

TEST_F(RaceScreenWindow, MissingPointerPicturesLeaveTheDefaultPointer) {
    MoveOver(Label("lblBestLap"));
    EXPECT_EQ(Window().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(RaceScreenWindow, RaceFormatAndAboutOpenOnlyWhileIdle) {
    int* raceFormat = Count("mnuRaceFormat");
    int* about = Count("mnuAbout");
    Click(Label("lblRaceFormat"));
    Click(Label("imgLapmark"));
    EXPECT_EQ(*raceFormat, 1);
    EXPECT_EQ(*about, 1);
    StartRace();
    Click(Label("lblRaceFormat"));
    Click(Label("imgLapmark"));
    EXPECT_EQ(*raceFormat, 1);
    EXPECT_EQ(*about, 1);
}

TEST_F(RaceScreenWindow, DiagnosticShortcutOnlyWhileItsMenuIsEnabled) {
    int* opened = Count("mnuDiagnostic");
    Window().show();
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTest::keyClick(&Window(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(*opened, 1);
    StartRace();
    EXPECT_FALSE(rig->Menu("mnuHelpMenu")->menuAction()->isEnabled());
    QTest::keyClick(&Window(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(*opened, 1) << "the Help menu is locked while the race is timed";
    Window().hide();
}

TEST_F(RaceScreenWindow, RaceTimerFollowsRaceControl) {
    QTimer* timer = rig->Timer1();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 10);
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    StartRace();
    EXPECT_TRUE(timer->isActive());
    race.dialogs.answers = {MessageAnswer::Yes};
    rig->StartButton()->click(); // Abort
    EXPECT_FALSE(timer->isActive());
}

TEST_F(RaceScreenWindow, CloseBoxLeavesTheWindowOpen) {
    Window().show();
    EXPECT_FALSE(Window().close());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(rig->quits, 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "Racers.dat"));
    Window().hide();
}

TEST_F(RaceScreenWindow, ExitAfterAnUnsavedRaceAsksAndNoKeepsTheProgram) {
    StartRace();
    race.dialogs.answers = {MessageAnswer::Yes};
    rig->StartButton()->click();   // abort clears the unsaved flags ...
    race.state.LapsUnsaved = true; // ... so mark a closed race's results unsaved
    race.state.SummaryUnsaved = true;
    race.dialogs.answers = {MessageAnswer::No};
    rig->Trigger("mnuExit");
    ASSERT_EQ(race.dialogs.shown.size(), 2u); // the abort question, then this one
    const Message& asked = race.dialogs.last();
    EXPECT_EQ(asked.title, "Files not saved");
    EXPECT_EQ(asked.text, "Summary & Lap files have not be saved.\nDo you want to exit?");
    EXPECT_EQ(asked.icon, MessageIcon::Warning);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(rig->quits, 0);

    race.state.SummaryUnsaved = false;
    race.dialogs.answers = {MessageAnswer::Yes};
    race.port.open = true;
    rig->Trigger("mnuExit");
    EXPECT_EQ(race.dialogs.last().title, "Laps not saved");
    EXPECT_EQ(race.dialogs.last().text, "Lap file has not be saved.\nDo you want to exit?");
    EXPECT_EQ(rig->quits, 1);
    EXPECT_FALSE(race.port.open);
}

TEST_F(RaceScreenWindow, ExitSavesTheLagModeAndTheRacerNames) {
    race.state.LapRace = false;
    race.state.PracticeMode = true;
    race.state.LapsUnsaved = true;
    race.state.Names.IdName[0] = "Ann";
    Window().ComposeTitle();
    rig->Trigger("mnuExit");
    EXPECT_TRUE(race.dialogs.shown.empty()) << "practice asks nothing";
    EXPECT_EQ(rig->quits, 1);

    IdNamesRecord names;
    LoadIdNames(folder, "Racers.dat", names);
    EXPECT_EQ(names.IdName[0], "Ann");
    EXPECT_EQ(ReadBytes(folder / "KestoRaceLag.dat"), "\"Median\"\r\n");
}

TEST_F(RaceScreenWindow, EmptyLagHeaderIsSavedAsLagFirstAndFailuresAreShown) {
    race.state.LagColumnMode.clear();                           // the lag header without a caption
    std::filesystem::create_directories(folder / "Racers.dat"); // cannot be written
    rig->Trigger("mnuExit");
    EXPECT_EQ(ReadBytes(folder / "KestoRaceLag.dat"), "\"Lag First\"\r\n");
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "");
    EXPECT_FALSE(race.dialogs.last().text.empty());
    EXPECT_EQ(rig->quits, 1) << "the rest of the unload still runs";
}

TEST_F(RaceScreenWindow, TitleAndCaptionsOfTheRaceFormat) {
    race.state.Settings.StartDelay = 10;
    race.state.Settings.MinLapTime = 4;
    race.state.DemoMode = true;
    Window().ComposeTitle();
    EXPECT_EQ(Window().windowTitle().toStdString(),
              "Kesto Timer - 10 seconds delay before Formula 1 start - 4 seconds minimum lap time");
    EXPECT_EQ(Text(Label("lblRaceFormat")), "Demo - 10 Lap Race");
    EXPECT_FALSE(Label("lblDemo")->isHidden());
    race.state.LapRace = false;
    race.state.TimedRace = true;
    race.state.RaceMinutes = 5;
    rig->control.ReSet();
    EXPECT_EQ(Text(Label("lblClock")), "5:00");
    EXPECT_EQ(Label("lblClock")->palette().color(QPalette::WindowText), QColor(Qt::red));
}

// KESTO_SCREENSHOT=<file.png> saves a picture of the race screen in a race,
// and one with the largest row text, for a look by eye.
TEST_F(RaceScreenWindow, Screenshot) {
    const QString file = QString::fromLocal8Bit(qgetenv("KESTO_SCREENSHOT"));
    if (file.isEmpty())
        GTEST_SKIP() << "KESTO_SCREENSHOT not set";
    race.state.Names.IdName[7] = "Zo\xc3\xab Gjpqy";
    Window().show();
    StartRace();
    for (int lap = 0; lap < 4; ++lap) {
        std::string lines = ClockLine(1000 + lap * 5000);
        for (int id = 1; id <= 14; ++id)
            lines += DetectionLine(id, 500 + lap * (4000 + id * 100) + id * 37);
        Decoder(lines);
    }
    EXPECT_TRUE(Window().grab().save(file));
    for (int press = 0; press < 23; ++press)
        QTest::keyClick(&Window(), Qt::Key_F9);
    EXPECT_TRUE(Window().grab().save(
        QString(file).replace(QStringLiteral(".png"), QStringLiteral("-39pt.png"))));
    Window().hide();
}

} // namespace
} // namespace kesto
