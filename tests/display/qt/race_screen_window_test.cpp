// The race screen frmKestoTimer, headless: what the rows show during a race
// and a practice, the column toggles, clearing best laps, choosing names, the
// clock and row sizes, the keyboard, resizing and leaving the program.
#include "display/qt/race_screen_window.h"

#include "config/settings_files.h"
#include "engine/quiet_platform.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/qt/wired_main_window.h"
#include "support/race_rig.h"
#include "support/test_doubles.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kesto {
namespace {

// The start lights go green at once.
// A decoder detection line of car `id` at `ms` on the race clock.
std::string Pass(int id, int ms) {
    char line[32];
    std::snprintf(line, sizeof line, "@%02d%02d%02d%02d%02d\n", id, ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms / 10 % 100);
    return line;
}

// A decoder clock line.
std::string ClockAt(int seconds) {
    char line[32];
    std::snprintf(line, sizeof line, "@00%02d%02d%02d\n", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return line;
}

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}
std::string Text(const RowLabel* label) {
    return label->text().toStdString();
}

QColor Background(const RowLabel* label) {
    return label->backgroundColor();
}

QColor FromWindows(int32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

class RaceScreenWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kesto-main-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);

        RaceState& s = race.state;
        s.Settings.MinLapTime = 2;
        s.Settings.FirstLapCount = 0;
        for (int i = 0; i < MaxCarIds; ++i) {
            s.Settings.IdColor[i] = 0x102030 + i * 0x000101; // distinct, dark
            s.Names.IdName[i] = "Racer " + std::to_string(i + 1);
        }
        s.LapRace = true;
        s.NumberOfLaps = 10;
        race.port.open = true;

        test::WireMainWindow(race.context, folder, launcher, window, control, tick);
        window->Hooks().beep = [this] { ++beeps; };
        window->Hooks().quit = [this] { ++quits; };
        window->InitResizer();
        control->ReSet();
        control->StartReset();
    }
    void TearDown() override {
        window.reset();
        std::filesystem::remove_all(folder);
    }

    void StartRace() {
        control->cmdStart_Click();
        ASSERT_EQ(race.state.Button, StartButton::Abort);
        ASSERT_TRUE(race.state.TimerEnabled);
    }
    // A decoder line, then one tick.
    void Decoder(const std::string& lines) {
        race.port.Feed(lines);
        // The race timer runs as long as the decoder's clock did.
        const int32_t latest = std::max(decoderMs, test::LatestDecoderTime(lines));
        tick->Timer1_Timer(std::max(10, latest - decoderMs));
        decoderMs = latest;
    }
    int32_t decoderMs = 0;
    // The pointer moved over a control.
    void MoveOver(QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(widget, button);
    }
    void WriteFile(const std::string& name, const std::string& content) {
        std::ofstream(folder / name, std::ios::binary) << content;
    }
    void WritePointerPictures() {
        QPixmap picture(32, 32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(QString::fromStdString((folder / "handred.ico").string()), "ICO"));
        ASSERT_TRUE(picture.save(QString::fromStdString((folder / "racer.ico").string()), "ICO"));
    }

    std::filesystem::path folder;
    test::TestRace race;
    InstantStart launcher;
    std::unique_ptr<FrmKestoTimer> window;
    std::unique_ptr<RaceControl> control;
    std::unique_ptr<RaceTick> tick;
    int beeps = 0;
    int quits = 0;
};

TEST_F(RaceScreenWindow, ControlsSitAtTheirDesignPlacesInTwips) {
    auto* canvas = window->Canvas();
    EXPECT_EQ(canvas->width(), window->ToPixels(11700));
    EXPECT_EQ(canvas->height(), window->ToPixels(5295));
    EXPECT_EQ(canvas->palette().color(QPalette::Window), QColor(Qt::black));

    auto* name3 = window->findChild<RowLabel*>(QStringLiteral("lblName_3"));
    ASSERT_EQ(name3, window->lblName(3));
    EXPECT_EQ(name3->geometry(), QRect(window->ToPixels(525), window->ToPixels(420 + 2 * 345),
                                       window->ToPixels(3255), window->ToPixels(345)));
    EXPECT_EQ(window->lblBest(14)->x(), window->ToPixels(8070));
    EXPECT_EQ(window->lblBest(14)->y(), window->ToPixels(420 + 13 * 345));
    EXPECT_TRUE(window->lblLapNum(1)->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(window->lblName(1)->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(window->lblName(1)->testAttribute(Qt::WA_OpaquePaintEvent))
        << "row labels are opaque";
    EXPECT_TRUE(window->lblName(1)->font().bold());
    EXPECT_EQ(window->lblName(1)->font().pointSizeF(), 15.75);

    EXPECT_EQ(Text(window->lblClock()), "00:00");
    EXPECT_EQ(window->lblClock()->font().pointSizeF(), 32.25);
    EXPECT_EQ(Text(window->lblRaceOver()), "Race  Over");
    EXPECT_TRUE(window->lblRaceOver()->isHidden());
    EXPECT_EQ(Text(window->lblDemo()), "Demo");
    EXPECT_EQ(window->lblDemo()->font().pointSizeF(), 27.75);
    EXPECT_EQ(window->cmdStart()->text(), QStringLiteral("Start"));
    EXPECT_EQ(window->cmdStart()->font().pointSizeF(), 14.25);
    EXPECT_EQ(Text(window->lblLapTimeHeader()), "Lap Time");
}

TEST_F(RaceScreenWindow, MenusCarryTheirTexts) {
    QStringList titles;
    for (QAction* action : window->menuBar()->actions())
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
    EXPECT_EQ(items(window->Menu(MainMenu::File)),
              (QStringList{QStringLiteral("&Open"), QStringLiteral("E&xit")}));
    EXPECT_EQ(items(window->Menu(MainMenu::Settings)),
              (QStringList{QStringLiteral("S&ound"), QStringLiteral("Settings")}));
    EXPECT_EQ(items(window->Menu(MainMenu::Help)),
              (QStringList{QStringLiteral("Help"), QStringLiteral("Diagnostic..."),
                           QStringLiteral("Lapmark Web site..."), QStringLiteral("About...")}));
    auto* diagnostic = window->findChild<QAction*>(QStringLiteral("mnuDiagnostic"));
    ASSERT_NE(diagnostic, nullptr);
    EXPECT_EQ(diagnostic->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));

    int opened = 0;
    window->Hooks().showHits = [&] { ++opened; };
    window->findChild<QAction*>(QStringLiteral("mnuHits"))->trigger();
    EXPECT_EQ(opened, 1);
    // A menu whose window is not plugged in does nothing.
    window->findChild<QAction*>(QStringLiteral("mnuSettings"))->trigger();
}

TEST_F(RaceScreenWindow, RaceRowsFollowPositionsWithEachCarsColourIdAndName) {
    StartRace();
    EXPECT_FALSE(window->Menu(MainMenu::File)->menuAction()->isEnabled());
    // ID 2 and 7 on 2 laps, 7 crossing first; ID 1 on 1 lap.
    Decoder(Pass(2, 500) + Pass(7, 600) + Pass(1, 700));
    Decoder(Pass(7, 4100) + Pass(2, 4300) + ClockAt(4));
    Decoder("");
    ASSERT_EQ(race.state.LapCount[6], 2);

    EXPECT_EQ(Text(window->lblID(1)), "7");
    EXPECT_EQ(Text(window->lblName(1)), " Racer 7");
    EXPECT_EQ(Text(window->lblID(2)), "2");
    EXPECT_EQ(Text(window->lblID(3)), "1");
    EXPECT_EQ(Text(window->lblID(4)), "3");
    for (int r = 1; r <= 4; ++r) {
        const int id = std::stoi(Text(window->lblID(r)));
        EXPECT_EQ(Background(window->lblID(r)), FromWindows(race.state.Settings.IdColor[id - 1]));
        EXPECT_EQ(Background(window->lblBest(r)), FromWindows(race.state.Settings.IdColor[id - 1]));
    }
    EXPECT_EQ(Text(window->lblLapNum(1)), "2");
    EXPECT_EQ(Text(window->lblLapTime(1)), "3.50");
    EXPECT_EQ(Text(window->lblBest(1)), "3.50 ");
    EXPECT_EQ(Text(window->lblLagTime(1)), "0.00");
    EXPECT_EQ(Text(window->lblLagTime(2)), "0.20");
    EXPECT_EQ(Text(window->lblLagTime(3)), "0.20")
        << "measured to car 2 once car 7 had moved ahead; kept until car 1 crosses again";
    EXPECT_EQ(Text(window->lblClock()), "0:04");
}

TEST_F(RaceScreenWindow, LapTimesAroundAMinuteAndTheMedianOnWholeSeconds) {
    StartRace();
    Decoder(Pass(3, 100) + Pass(4, 100));
    Decoder(Pass(3, 60090) + Pass(4, 60100));
    ASSERT_EQ(Text(window->lblID(1)), "3");
    EXPECT_EQ(Text(window->lblLapTime(1)), "59.99");
    EXPECT_EQ(Text(window->lblLapTime(2)), "60");

    // The median column: written on whole seconds only.
    Click(window->lblBestLap()); // MPH
    Click(window->lblBestLap()); // Median
    ASSERT_EQ(Text(window->lblBestLap()), "Median");
    race.state.RaceClock = 61000;
    control->RefreshRaceScreen();
    const std::string median = race.state.MedianLap[2];
    ASSERT_FALSE(median.empty());
    EXPECT_EQ(Text(window->lblBest(1)), median);
    race.state.SortedLapTimes[2][1] = 13.5f; // laps that would change the median
    race.state.SortedLapTimes[2][2] = 12.5f;
    race.state.RaceClock = 61500;
    control->RefreshRaceScreen();
    EXPECT_EQ(Text(window->lblBest(1)), median) << "between whole seconds the cell stays";
    race.state.RaceClock = 62000;
    control->RefreshRaceScreen();
    EXPECT_EQ(Text(window->lblBest(1)), "13.50");
}

TEST_F(RaceScreenWindow, PracticeKeepsIdOrderAndLeavesUndetectedCarsEmpty) {
    race.state.LapRace = false;
    race.state.PracticeMode = true;
    control->ReSet();
    EXPECT_EQ(Text(window->lblLag()), "Median");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kesto Timer - Practice"));
    StartRace();
    Decoder(Pass(9, 100) + Pass(9, 3100) + Pass(9, 7100));
    for (int k = 1; k <= MaxCarIds; ++k) {
        EXPECT_EQ(Text(window->lblID(k)), std::to_string(k));
        if (k != 9) {
            EXPECT_EQ(Text(window->lblLapNum(k)), "") << "ID " << k;
            EXPECT_EQ(Text(window->lblLapTime(k)), "");
        }
    }
    EXPECT_EQ(Text(window->lblLapNum(9)), "3");
    EXPECT_EQ(Text(window->lblLapTime(9)), "4.00");
}

TEST_F(RaceScreenWindow, NameCellsSelectNameAgainstALoneBlank) {
    race.state.Names.IdName[4].clear();
    window->LoadNames();
    EXPECT_EQ(Text(window->lblName(5)), " Select Name");
    race.state.RaceClock = 0;
    control->RefreshRaceScreen();
    EXPECT_EQ(Text(window->lblName(5)), " ");
}

TEST_F(RaceScreenWindow, BestColumnTogglesThroughThreeModesInARaceAndTwoInPractice) {
    for (const char* expected : {"MPH", "Median", "Best Lap"}) {
        Click(window->lblBestLap());
        EXPECT_EQ(Text(window->lblBestLap()), expected);
        EXPECT_EQ(race.state.BestColumnMode, expected);
    }
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_EQ(Text(window->lblBestLap()), "MPH");

    race.state.LapRace = false;
    race.state.PracticeMode = true;
    for (const char* expected : {"Best Lap", "MPH", "Best Lap", "MPH"}) {
        Click(window->lblBestLap());
        EXPECT_EQ(Text(window->lblBestLap()), expected);
    }
}

TEST_F(RaceScreenWindow, LagColumnTogglesInARaceAndStaysMedianInPractice) {
    for (const char* expected : {"Lag First", "Median", "Lag Behind"}) {
        Click(window->lblLag());
        EXPECT_EQ(Text(window->lblLag()), expected);
    }
    QTest::keyClick(window.get(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(Text(window->lblLag()), "Lag First");

    race.state.LapRace = false;
    race.state.PracticeMode = true;
    window->ComposeTitle();
    Click(window->lblLag());
    Click(window->lblLag());
    EXPECT_EQ(Text(window->lblLag()), "Median");
}

TEST_F(RaceScreenWindow, TogglesRefreshAtOnceDuringARace) {
    StartRace();
    race.state.SpeedMultiplier = 1000;
    Decoder(Pass(5, 100) + Pass(5, 2600) + Pass(5, 5100));
    EXPECT_EQ(Text(window->lblBest(1)), "2.50 ");
    Click(window->lblBestLap());
    EXPECT_EQ(Text(window->lblBest(1)), "400.0 ");
}

TEST_F(RaceScreenWindow, ClickingTheBestCellOfRowThreeClearsTheCarInThirdPlace) {
    StartRace();
    Decoder(Pass(11, 100) + Pass(6, 200) + Pass(8, 300));
    Decoder(Pass(11, 3100) + Pass(6, 3200) + Pass(8, 3300));
    Decoder(Pass(11, 6100) + Pass(6, 6200) + Pass(8, 6300));
    ASSERT_EQ(Text(window->lblID(3)), "8");
    ASSERT_EQ(Text(window->lblBest(3)), "3.00 ");

    Click(window->lblBest(3));
    EXPECT_EQ(race.state.BestLapTime[7], NoBestLap) << "ID 8 is third";
    EXPECT_EQ(Text(window->lblBest(3)), "");
    EXPECT_EQ(beeps, 1);
    EXPECT_NE(race.state.BestLapTime[10], NoBestLap);

    // In MPH mode a click changes nothing.
    Click(window->lblBestLap());
    Click(window->lblBest(1));
    EXPECT_NE(race.state.BestLapTime[10], NoBestLap);
    EXPECT_EQ(beeps, 1);
}

TEST_F(RaceScreenWindow, BestCellClickDoesNothingOnceTheRaceIsClosed) {
    StartRace();
    Decoder(Pass(1, 100) + Pass(1, 3100) + Pass(1, 6100));
    race.dialogs.answers = {MessageAnswer::Yes};
    control->cmdStart_Click(); // Abort, answered Yes
    ASSERT_FALSE(race.state.TimerEnabled);
    race.state.BestLapTime[0] = 3000;
    Click(window->lblBest(1));
    EXPECT_EQ(race.state.BestLapTime[0], 3000);
    EXPECT_EQ(beeps, 0);
}

TEST_F(RaceScreenWindow, DigitKeysClearBestLapsWithoutABeep) {
    StartRace();
    race.state.BestLapTime.fill(4000);
    QTest::keyClick(window.get(), Qt::Key_3, Qt::ShiftModifier);
    EXPECT_EQ(race.state.BestLapTime[12], NoBestLap) << "Shift+3 is ID 13";
    EXPECT_EQ(race.state.BestLapTime[2], 4000);
    QTest::keyClick(window->lblName(1), Qt::Key_NumberSign, Qt::ShiftModifier);
    EXPECT_EQ(race.state.BestLapTime[2], 4000);
    QTest::keyClick(window.get(), Qt::Key_3);
    EXPECT_EQ(race.state.BestLapTime[2], NoBestLap);
    QTest::keyClick(window.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(race.state.BestLapTime[9], NoBestLap);
    QTest::keyClick(window.get(), Qt::Key_7, Qt::AltModifier);
    EXPECT_EQ(race.state.BestLapTime[6], NoBestLap);
    QTest::keyClick(window.get(), Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(race.state.BestLapTime[3], NoBestLap) << "the numeric pad is no modifier";
    EXPECT_EQ(beeps, 0);
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
    int opened = 0;
    window->Hooks().showSendCommand = [&] { ++opened; };
    QTest::keyClick(window.get(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_B,
                    Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(opened, 0);
    QTest::keyClick(window.get(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(opened, 1);
}

TEST_F(RaceScreenWindow, NameChoiceFindsTheShownNameAndAssignsOnlyWhenChosen) {
    WriteFile("kestoRacers.dat", "\"Ann\"\r\n\"Bob\"\r\n");
    window->LoadRacerLists();
    QComboBox* combo = window->Select_Name(2);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Empty"));

    race.state.Names.IdName[1] = "Bob";
    window->LoadNames();
    window->show();
    window->Select_Name(5)->show();
    Click(window->lblName(2));
    EXPECT_TRUE(combo->isVisible());
    EXPECT_FALSE(window->Select_Name(5)->isVisible()) << "the other lists close";
    EXPECT_EQ(combo->currentText(), QStringLiteral("Bob"));
    EXPECT_EQ(race.state.Names.NamedId[1], 0) << "finding the name assigns nothing";

    combo->setCurrentIndex(0); // as the operator's choice does before it is reported
    emit combo->activated(0);
    EXPECT_EQ(Text(window->lblName(2)), " Ann");
    EXPECT_EQ(race.state.Names.IdName[1], "Ann");
    EXPECT_EQ(race.state.Names.NamedId[1], 2);

    // A choice arriving while the list is hidden never assigns a name.
    window->Select_Name_LostFocus(2);
    EXPECT_FALSE(combo->isVisible());
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(race.state.Names.IdName[1], "Ann");

    // No entry matches: the last one ("Empty") is selected.
    race.state.Names.IdName[3] = "Zed";
    window->LoadNames();
    Click(window->lblName(4));
    EXPECT_EQ(window->Select_Name(4)->currentText(), QStringLiteral("Empty"));
    EXPECT_TRUE(window->Select_Name(4)->isVisible());
    window->hide();
}

TEST_F(RaceScreenWindow, NameClickDuringARaceOnlyClosesTheOtherLists) {
    WriteFile("kestoRacers.dat", "\"Ann\"\r\n");
    window->LoadRacerLists();
    window->show();
    StartRace();
    window->Select_Name(6)->show();
    Click(window->lblName(2));
    EXPECT_FALSE(window->Select_Name(2)->isVisible());
    EXPECT_FALSE(window->Select_Name(6)->isVisible());
    window->hide();
}

TEST_F(RaceScreenWindow, ClockGrowsToSeventyEightAndShrinksToTwelve) {
    QLabel* clock = window->lblClock();
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
    QTest::keyClick(window.get(), Qt::Key_F8);
    EXPECT_EQ(window->lblName(1)->font().pointSizeF(), 15.75) << "no smaller than the design";
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_EQ(window->lblName(1)->font().pointSizeF(), 17);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_EQ(window->lblName(1)->font().pointSizeF(), 39);
    EXPECT_EQ(window->lblBest(14)->font().pointSizeF(), 39);
    EXPECT_EQ(window->lblBestLap()->font().pointSizeF(), 14.25) << "headers keep their size";
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(window.get(), Qt::Key_F8);
    EXPECT_EQ(window->lblName(1)->font().pointSizeF(), 16);
    EXPECT_EQ(window->lblID(7)->font().pointSizeF(), 16);
}

TEST_F(RaceScreenWindow, ResizingScalesTheScreenAndKeepsTheLogoInProportion) {
    QWidget* canvas = window->Canvas();
    const QRect design = window->lblLapNum(5)->geometry();
    canvas->resize(canvas->width() * 2, canvas->height() * 2);
    window->Form_Resize();
    EXPECT_NEAR(window->lblLapNum(5)->x(), design.x() * 2, 1);
    EXPECT_NEAR(window->lblLapNum(5)->y(), design.y() * 2, 1);
    EXPECT_NEAR(window->lblLapNum(5)->width(), design.width() * 2, 1);
    EXPECT_NEAR(window->lblName(1)->font().pointSizeF(), 31.5, 0.01);
    EXPECT_NEAR(window->imgLapmark()->height(), 0.38 * window->imgLapmark()->width(), 0.5);

    // A resize of the shown window reaches the resizer by itself.
    window->show();
    QApplication::processEvents();
    const int before = window->lblBest(1)->x();
    window->resize(window->width() + 300, window->height());
    QApplication::processEvents();
    EXPECT_GT(window->lblBest(1)->x(), before);
    window->hide();
}

TEST_F(RaceScreenWindow, PointersAndTooltipsFollowTheRaceState) {
    WritePointerPictures();
    MoveOver(window->lblBestLap());
    EXPECT_EQ(window->CurrentPointer(), Pointer::Hand);
    EXPECT_EQ(window->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window->lblBestLap()->toolTip(),
              QStringLiteral("Click to toggle between \"Best Lap\" and \"MPH\" and \"Median\""));
    MoveOver(window->lblClock());
    EXPECT_EQ(window->CurrentPointer(), Pointer::Default);
    MoveOver(window->lblName(3));
    EXPECT_EQ(window->CurrentPointer(), Pointer::Racer);
    EXPECT_EQ(window->lblName(3)->toolTip(), QStringLiteral("Click to select name"));
    MoveOver(window->lblRaceFormat());
    EXPECT_EQ(window->CurrentPointer(), Pointer::Hand);

    StartRace();
    MoveOver(window->lblBest(2));
    EXPECT_EQ(window->CurrentPointer(), Pointer::Hand);
    EXPECT_EQ(window->lblBest(2)->toolTip(), QStringLiteral("Click to reset \"Best Lap\""));
    MoveOver(window->lblRaceFormat());
    EXPECT_EQ(window->CurrentPointer(), Pointer::Default);
    EXPECT_EQ(window->lblRaceFormat()->toolTip(), QString());
}

TEST_F(RaceScreenWindow, MissingPointerPicturesLeaveTheDefaultPointer) {
    MoveOver(window->lblBestLap());
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(RaceScreenWindow, RaceFormatAndAboutOpenOnlyWhileIdle) {
    int raceFormat = 0;
    int about = 0;
    window->Hooks().showRaceFormat = [&] { ++raceFormat; };
    window->Hooks().showAbout = [&] { ++about; };
    Click(window->lblRaceFormat());
    Click(window->imgLapmark());
    EXPECT_EQ(raceFormat, 1);
    EXPECT_EQ(about, 1);
    StartRace();
    Click(window->lblRaceFormat());
    Click(window->imgLapmark());
    EXPECT_EQ(raceFormat, 1);
    EXPECT_EQ(about, 1);
}

TEST_F(RaceScreenWindow, DiagnosticShortcutOnlyWhileItsMenuIsEnabled) {
    int opened = 0;
    window->Hooks().showDiagnostic = [&] { ++opened; };
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(opened, 1);
    StartRace();
    EXPECT_FALSE(window->Menu(MainMenu::Help)->menuAction()->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(opened, 1) << "the Help menu is locked while the race is timed";
    window->hide();
}

TEST_F(RaceScreenWindow, RaceTimerFollowsRaceControl) {
    EXPECT_FALSE(window->Timer1()->isActive());
    EXPECT_EQ(window->Timer1()->interval(), 10);
    EXPECT_EQ(window->Timer1()->timerType(), Qt::PreciseTimer);
    StartRace();
    EXPECT_TRUE(window->Timer1()->isActive());
    race.dialogs.answers = {MessageAnswer::Yes};
    control->cmdStart_Click(); // Abort
    EXPECT_FALSE(window->Timer1()->isActive());
}

TEST_F(RaceScreenWindow, CloseBoxLeavesTheWindowOpen) {
    window->show();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(quits, 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "Racers.dat"));
    window->hide();
}

TEST_F(RaceScreenWindow, ExitAfterAnUnsavedRaceAsksAndNoKeepsTheProgram) {
    StartRace();
    race.dialogs.answers = {MessageAnswer::Yes};
    control->cmdStart_Click();     // abort clears the unsaved flags ...
    race.state.LapsUnsaved = true; // ... so mark a closed race's results unsaved
    race.state.SummaryUnsaved = true;
    race.dialogs.answers = {MessageAnswer::No};
    window->mnuExit_Click();
    ASSERT_EQ(race.dialogs.shown.size(), 2u); // the abort question, then this one
    const Message& asked = race.dialogs.last();
    EXPECT_EQ(asked.title, "Files not saved");
    EXPECT_EQ(asked.text, "Summary & Lap files have not be saved.\nDo you want to exit?");
    EXPECT_EQ(asked.icon, MessageIcon::Warning);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(quits, 0);

    race.state.SummaryUnsaved = false;
    race.dialogs.answers = {MessageAnswer::Yes};
    race.port.open = true;
    window->mnuExit_Click();
    EXPECT_EQ(race.dialogs.last().title, "Laps not saved");
    EXPECT_EQ(race.dialogs.last().text, "Lap file has not be saved.\nDo you want to exit?");
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(race.port.open);
}

TEST_F(RaceScreenWindow, ExitSavesTheLagModeAndTheRacerNames) {
    race.state.LapRace = false;
    race.state.PracticeMode = true;
    race.state.LapsUnsaved = true;
    race.state.Names.IdName[0] = "Ann";
    window->ComposeTitle();
    window->mnuExit_Click();
    EXPECT_TRUE(race.dialogs.shown.empty()) << "practice asks nothing";
    EXPECT_EQ(quits, 1);

    IdNamesRecord names;
    LoadIdNames(folder, "Racers.dat", names);
    EXPECT_EQ(names.IdName[0], "Ann");
    std::ifstream lag(folder / "KestoRaceLag.dat", std::ios::binary);
    std::string line((std::istreambuf_iterator<char>(lag)), {});
    EXPECT_EQ(line, "\"Median\"\r\n");
}

TEST_F(RaceScreenWindow, EmptyLagHeaderIsSavedAsLagFirstAndFailuresAreShown) {
    window->lblLag()->clear();
    std::filesystem::create_directories(folder / "Racers.dat"); // cannot be written
    window->mnuExit_Click();
    std::ifstream lag(folder / "KestoRaceLag.dat", std::ios::binary);
    std::string line((std::istreambuf_iterator<char>(lag)), {});
    EXPECT_EQ(line, "\"Lag First\"\r\n");
    ASSERT_EQ(race.dialogs.shown.size(), 1u);
    EXPECT_EQ(race.dialogs.last().title, "");
    EXPECT_FALSE(race.dialogs.last().text.empty());
    EXPECT_EQ(quits, 1) << "the rest of the unload still runs";
}

TEST_F(RaceScreenWindow, TitleAndCaptionsOfTheRaceFormat) {
    race.state.Settings.StartDelay = 10;
    race.state.Settings.MinLapTime = 4;
    race.state.DemoMode = true;
    window->ComposeTitle();
    EXPECT_EQ(window->windowTitle().toStdString(),
              "Kesto Timer - 10 seconds delay before Formula 1 start - 4 seconds minimum lap time");
    EXPECT_EQ(Text(window->lblRaceFormat()), "Demo - 10 Lap Race");
    EXPECT_FALSE(window->lblDemo()->isHidden());
    race.state.LapRace = false;
    race.state.TimedRace = true;
    race.state.RaceMinutes = 5;
    control->ReSet();
    EXPECT_EQ(Text(window->lblClock()), "5:00");
    EXPECT_EQ(window->lblClock()->palette().color(QPalette::WindowText), QColor(Qt::red));
}

} // namespace
} // namespace kesto
