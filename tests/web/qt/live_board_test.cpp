// The live board as the timer runs it: boards built once per refresh after
// the tick and not sent again unchanged, and the "Live Board..." window that
// switches it on and off, moves it off a taken port and keeps the choice.
#include "support/temp_folder.h"
#include "web/qt/live_board.h"
#include "web/qt/live_board_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QTcpServer>
#include <QTest>
#include <QWebSocket>
#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(LiveBoardPublishing, OneBoardPerRefreshAfterTheTickAndNoneWhenNothingChanged) {
    RaceState state;
    state.RaceFormatText = "Practice";
    ScreenShown shown;
    LiveBoard board(state, shown);
    ASSERT_NE(board.Start(0), 0);
    QWebSocket browser;
    QList<QByteArray> boards;
    QObject::connect(&browser, &QWebSocket::binaryMessageReceived,
                     [&](const QByteArray& message) { boards << message; });
    browser.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(board.Port())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return boards.size() == 1; }, 5000));
    EXPECT_TRUE(boards[0].contains("\"format\":\"Practice\""));

    // Many changes in one tick: one board, built after it.
    shown.clockText = "0:01";
    for (int call = 0; call < 5; ++call)
        board.ScreenChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boards.size() == 2; }, 5000));
    EXPECT_TRUE(boards[1].contains("\"clock\":\"0:01\""));
    // Nothing changed: nothing sent; the next change comes next.
    board.ScreenChanged();
    QCoreApplication::processEvents();
    shown.clockText = "0:02";
    board.ScreenChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boards.size() >= 3; }, 5000));
    EXPECT_TRUE(boards[2].contains("\"clock\":\"0:02\""));
    EXPECT_EQ(board.Browsers(), 1);
}

class LiveBoardChoice : public test::TempFolderTest {};

TEST_F(LiveBoardChoice, TheWindowSwitchesTheBoardMovesItOffATakenPortAndKeepsTheChoice) {
    RaceState state;
    ScreenShown shown;
    LiveBoard board(state, shown);
    QTcpServer squatter; // something else has the port
    ASSERT_TRUE(squatter.listen(QHostAddress::Any, 0));
    const int taken = squatter.serverPort();
    ASSERT_TRUE(WriteLiveBoardSettings(folder, {false, taken}, nullptr));

    LiveBoardWindow window(board, folder);
    EXPECT_FALSE(window.onCheckBox()->isChecked());
    EXPECT_EQ(window.portSpinBox()->value(), taken);
    EXPECT_EQ(window.statusLabel()->text(), QStringLiteral("Off: the timer opens no port."));

    window.onCheckBox()->setChecked(true);
    ASSERT_TRUE(board.IsOn());
    EXPECT_GT(board.Port(), taken);
    EXPECT_LT(board.Port(), taken + LiveBoard::PortsTried);
    EXPECT_TRUE(window.statusLabel()->text().startsWith(
        QStringLiteral("Port %1 is taken: the live board is on port %2.")
            .arg(taken)
            .arg(board.Port())));
    EXPECT_TRUE(window.addressLabel()->text().contains(QStringLiteral(":%1/").arg(board.Port())));
    EXPECT_FALSE(window.qrLabel()->pixmap().isNull());
    EXPECT_EQ(ReadBytes(folder / LiveBoardFileName),
              "On=1\r\nPort=" + std::to_string(taken) + "\r\n");

    window.onCheckBox()->setChecked(false);
    EXPECT_FALSE(board.IsOn());
    EXPECT_EQ(ReadLiveBoardSettings(folder), (LiveBoardSettings{false, taken}));
}

} // namespace
} // namespace kesto
