// The raw-record window hands the typed text to the record parser unchanged,
// so a typed record counts exactly like one from the decoder.
#include "display/qt/send_command_window.h"

#include "engine/decoder_input.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace kesto {
namespace {

void TypeAndWrite(FrmSendCommand& window, const QString& text) {
    auto* box = window.findChild<QLineEdit*>("txtWrite");
    box->clear();
    QTest::keyClicks(box, text);
    QTest::mouseClick(window.findChild<QPushButton*>("cmdWrite"), Qt::LeftButton);
}

TEST(SendCommandWindow, WriteHandsTheTextOverUnchanged) {
    std::vector<std::string> written;
    FrmSendCommand window([&](const std::string& record) { written.push_back(record); });
    TypeAndWrite(window, "  @0512345678 x");
    TypeAndWrite(window, "");
    EXPECT_EQ(written, (std::vector<std::string>{"  @0512345678 x", ""}));
}

TEST(SendCommandWindow, ReadDoesNothingAndOkCloses) {
    int writes = 0;
    FrmSendCommand window([&](const std::string&) { ++writes; });
    window.show();
    EXPECT_EQ(window.windowTitle(), "Send Command");
    EXPECT_EQ(window.findChild<QLabel*>("lblInputCommand")->text(), "Input Command:");
    EXPECT_TRUE(window.findChild<QLabel*>("lblRead")->text().isEmpty());
    EXPECT_EQ(window.findChild<QPushButton*>("cmdWrite")->text(), "&Write");
    auto* read = window.findChild<QPushButton*>("cmdRead");
    EXPECT_EQ(read->text(), "&Read");
    QTest::mouseClick(read, Qt::LeftButton);
    EXPECT_EQ(writes, 0);
    auto* ok = window.findChild<QPushButton*>("cmdOK");
    EXPECT_EQ(ok->text(), "&OK");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(SendCommandWindow, ItsShortcutKeepsOneWindowAndBringsItToTheFront) {
    QWidget owner;
    FrmSendCommand* first = FrmSendCommand::ShowModeless([](const std::string&) {}, &owner);
    first->showMinimized();
    EXPECT_EQ(FrmSendCommand::ShowModeless([](const std::string&) {}, &owner), first);
    EXPECT_EQ(owner.findChildren<FrmSendCommand*>().size(), 1);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_TRUE(first->isVisible());
    first->close(); // deleted later: the next use opens a new one
    FrmSendCommand* fresh = FrmSendCommand::ShowModeless([](const std::string&) {}, &owner);
    EXPECT_NE(fresh, first);
    EXPECT_TRUE(fresh->isVisible());
}

// Two races, one fed by the decoder's lines, one by typed records.
class TypedRecordTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        for (auto* race : {&decoder, &typed}) {
            race->state.TimerEnabled = GetParam();
            race->state.Settings.MinLapTime = 4;
        }
    }

    void Both(const std::string& record) {
        decoder.port.Feed(record + "\n");
        ReadDecoderPort(decoder.context, buffer);
        TypeAndWrite(window, QString::fromStdString(record));
    }

    test::TestRace decoder;
    test::TestRace typed;
    ReceiveBuffer buffer;
    FrmSendCommand window{
        [this](const std::string& record) { ParseDecoderRecord(typed.context, record); }};
};

TEST_P(TypedRecordTest, ATypedRecordCountsExactlyAsTheDecodersLine) {
    decoder.port.Open(1);
    Both("@00000010"); // the decoder clock at 10 s
    EXPECT_EQ(typed.state.RaceClock, 10000);
    Both("@0500001000"); // ID 5 at 10.00 s: its first pass, always a lap
    Both("@0500001250"); // 2.5 s later: under the minimum lap time, dropped
    Both("@0500001500"); // 5 s after the first: a lap of 5.00 s
    Both("@1500001600"); // ID 15 does not exist
    Both("#0700001700"); // not a record

    EXPECT_EQ(typed.state.LapCount[4], 2);
    EXPECT_EQ(typed.state.LastLapTime[4], 5000);
    EXPECT_EQ(typed.state.LapCount, decoder.state.LapCount);
    EXPECT_EQ(typed.state.LastPassTime, decoder.state.LastPassTime);
    EXPECT_EQ(typed.state.LastLapTime, decoder.state.LastLapTime);
    EXPECT_EQ(typed.state.BestLapTime, decoder.state.BestLapTime);
    EXPECT_EQ(typed.state.LapTimes, decoder.state.LapTimes);
    EXPECT_EQ(typed.state.RaceClock, decoder.state.RaceClock);
    EXPECT_EQ(typed.player.played, decoder.player.played);
}

INSTANTIATE_TEST_SUITE_P(RaceTimer, TypedRecordTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Running" : "Stopped"; });

} // namespace
} // namespace kesto
