// The sensor check window: hits counted from the port, Reset, the look of
// its rows, and the port left empty when it closes, on a fake port and on a
// real pseudo-terminal pair made by socat.
#include "display/qt/diag_window.h"

#include "engine/qt/serial_decoder_port.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace kesto {
namespace {

namespace fs = std::filesystem;

PerId<int32_t> Colors() {
    PerId<int32_t> colors{};
    colors[0] = 0x0000FF;  // ID 1 red (Windows colours keep red in the low byte)
    colors[6] = 0xFF0000;  // ID 7 blue
    colors[13] = 0x00FFFF; // ID 14 yellow
    return colors;
}

class DiagWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        port.Open(1);
        window.SetBeep([this] { ++beeps; });
    }

    QString Hits(int id) const { return window.HitLabel(id)->text(); }

    test::FakeDecoderPort port;
    QTemporaryDir folder;
    FrmKestoDiag window{port, Colors(), fs::path(folder.path().toStdString())};
    int beeps = 0;
};

TEST_F(DiagWindowTest, AReadOfSevenCountsIdSevenAndBeeps) {
    port.Feed("7");
    window.tmrDiag_Timer();
    EXPECT_EQ(Hits(7), "1");
    EXPECT_EQ(beeps, 1);
    port.Feed("7\r\n");
    window.tmrDiag_Timer();
    EXPECT_EQ(Hits(7), "2");
    EXPECT_EQ(beeps, 2);
    for (int id = 1; id <= 14; ++id) {
        if (id != 7) {
            EXPECT_EQ(Hits(id), "0") << id;
        }
    }
}

TEST_F(DiagWindowTest, ReadsOfFifteenOrZeroChangeNothing) {
    for (const char* read : {"15", "0", "@0512345678\n"}) {
        port.Feed(read);
        window.tmrDiag_Timer();
        EXPECT_TRUE(port.input.empty());
    }
    for (int id = 1; id <= 14; ++id)
        EXPECT_EQ(Hits(id), "0") << id;
    EXPECT_EQ(beeps, 0);
}

TEST_F(DiagWindowTest, AReadHoldingSeveralDetectionsCountsOnceForItsFirstNumber) {
    port.Feed("3\r\n5\r\n11\r\n");
    window.tmrDiag_Timer();
    EXPECT_EQ(Hits(3), "1");
    EXPECT_EQ(Hits(5), "0");
    EXPECT_EQ(Hits(11), "0");
    EXPECT_EQ(beeps, 1);
}

TEST_F(DiagWindowTest, ResetPutsEveryCountBackToZeroAndKeepsTheColours) {
    port.Feed("1");
    window.tmrDiag_Timer();
    port.Feed("14");
    window.tmrDiag_Timer();
    QString styleBefore = window.HitLabel(14)->styleSheet();
    ASSERT_EQ(Hits(1), "1");
    QTest::mouseClick(window.findChild<QPushButton*>("cmdReset"), Qt::LeftButton);
    for (int id = 1; id <= 14; ++id)
        EXPECT_EQ(Hits(id), "0") << id;
    EXPECT_EQ(window.HitLabel(14)->styleSheet(), styleBefore);
}

TEST_F(DiagWindowTest, ShowsTheRowsInTheColoursOfTheIds) {
    EXPECT_EQ(window.windowTitle(), "  Diagnostic Kesto Timer");
    EXPECT_EQ(window.findChild<QLabel*>("lblFlag")->text(), "ID");
    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(), "Hits");
    for (int id = 1; id <= 14; ++id) {
        EXPECT_EQ(window.LaneLabel(id)->text(), QString::number(id));
        EXPECT_EQ(window.HitLabel(id)->text(), "0");
        EXPECT_EQ(window.HitLabel(id)->toolTip(),
                  "Will add at least 1 count when a flag is detected");
        EXPECT_EQ(window.LaneLabel(id)->styleSheet(), window.HitLabel(id)->styleSheet());
    }
    EXPECT_TRUE(window.LaneLabel(1)->styleSheet().contains("background-color: #ff0000"));
    EXPECT_TRUE(window.LaneLabel(7)->styleSheet().contains("background-color: #0000ff"));
    EXPECT_TRUE(window.LaneLabel(14)->styleSheet().contains("background-color: #ffff00"));
    EXPECT_EQ(window.LaneLabel(1)->toolTip(), "Flag closest to Power Plug");
    for (int id : {6, 11, 14})
        EXPECT_EQ(window.LaneLabel(id)->toolTip(), "Flag furthest from power plug");
    EXPECT_TRUE(window.LaneLabel(2)->toolTip().isEmpty());
    EXPECT_EQ(window.findChild<QPlainTextEdit*>("txtDiag")->toPlainText(),
              "Use Diagnostic to determine if Transponders are working properly. A hit should "
              "occur every time a car goes by the Transponder detectors. \"Reset\" returns the "
              "\"Hits\" to zero.");
    auto* reset = window.findChild<QPushButton*>("cmdReset");
    auto* exitButton = window.findChild<QPushButton*>("cmdExit");
    EXPECT_EQ(reset->text(), "&Reset");
    EXPECT_EQ(reset->toolTip(), "Reset number of Hits to 0");
    EXPECT_EQ(exitButton->text(), "E&xit");
    EXPECT_EQ(exitButton->toolTip(), "Return to main screen");
    auto* timer = window.findChild<QTimer*>("tmrDiag");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 200);
}

TEST_F(DiagWindowTest, ExitEmptiesThePortWithoutCounting) {
    window.show();
    port.maxReadSize = 4;
    port.Feed("7\r\n9\r\n@0512345678\r\n");
    QTest::mouseClick(window.findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(port.input.empty());
    EXPECT_FALSE(window.findChild<QTimer*>("tmrDiag")->isActive());
    EXPECT_EQ(Hits(7), "0");
    EXPECT_EQ(beeps, 0);
}

TEST_F(DiagWindowTest, EscapeAlsoEmptiesThePort) {
    window.show();
    port.Feed("7\r\n");
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(port.input.empty());
}

TEST(DiagWindowColours, AFirstRunWithEveryIdBlackStillShowsReadableNumbers) {
    test::FakeDecoderPort port;
    FrmKestoDiag window(port, PerId<int32_t>{}, fs::path("/nonexistent"));
    EXPECT_TRUE(window.LaneLabel(5)->styleSheet().contains("background-color: #000000"));
    EXPECT_TRUE(window.LaneLabel(5)->styleSheet().contains("color: #ffffff"));
}

// --- on a real serial line -------------------------------------------------

class DiagWindowSerialTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty())
            GTEST_SKIP() << "socat is not installed";
        ASSERT_TRUE(m_folder.isValid());
        program = fs::path(m_folder.path().toStdString());
        fs::path timerEnd = program / "COM1";
        decoderEnd = program / "decoder";
        m_socat.setProgram(QStringLiteral("socat"));
        m_socat.setArguments(
            {QStringLiteral("-d"), QStringLiteral("-d"),
             QString::fromStdString("pty,raw,echo=0,link=" + timerEnd.string()),
             QString::fromStdString("pty,raw,echo=0,link=" + decoderEnd.string())});
        m_socat.setReadChannel(QProcess::StandardError);
        m_socat.start();
        ASSERT_TRUE(m_socat.waitForStarted(5000));
        QDeadlineTimer deadline(5000);
        while (!(fs::exists(timerEnd) && fs::exists(decoderEnd)) && !deadline.hasExpired() &&
               m_socat.state() == QProcess::Running)
            m_socat.waitForReadyRead(50);
        ASSERT_TRUE(fs::exists(timerEnd) && fs::exists(decoderEnd));
        m_decoderFd = ::open(decoderEnd.c_str(), O_WRONLY | O_NOCTTY);
        ASSERT_GE(m_decoderFd, 0);
    }

    void TearDown() override {
        if (m_decoderFd >= 0)
            ::close(m_decoderFd);
        if (m_socat.state() != QProcess::NotRunning) {
            m_socat.terminate();
            if (!m_socat.waitForFinished(3000))
                m_socat.kill();
            m_socat.waitForFinished(3000);
        }
    }

    // The decoder sends; returns when the timer's end holds all of it.
    void DecoderSends(SerialDecoderPort& port, const std::string& bytes) {
        int before = port.BytesAvailable();
        ASSERT_EQ(::write(m_decoderFd, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
        QDeadlineTimer deadline(5000);
        while (port.BytesAvailable() < before + static_cast<int>(bytes.size()) &&
               !deadline.hasExpired())
            port.WaitForInput(50);
        ASSERT_EQ(port.BytesAvailable(), before + static_cast<int>(bytes.size()));
    }

    fs::path program;
    fs::path decoderEnd;

private:
    QTemporaryDir m_folder;
    QProcess m_socat;
    int m_decoderFd = -1;
};

TEST_F(DiagWindowSerialTest, CountsAHitAndLeavesThePortEmptyWhenClosed) {
    SerialDecoderPort port(program);
    ASSERT_TRUE(port.Open(1)) << port.LastError();
    FrmKestoDiag window(port, Colors(), program);
    int beeps = 0;
    window.SetBeep([&] { ++beeps; });
    window.show();

    DecoderSends(port, "7\r\n");
    window.tmrDiag_Timer();
    EXPECT_EQ(window.HitLabel(7)->text(), "1");
    EXPECT_EQ(beeps, 1);

    // Detections made while the check is open must not reach the next race.
    DecoderSends(port, "@0512345678\r\n@0612345699\r\n9\r\n");
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(port.WaitForInput(100));
    EXPECT_EQ(port.BytesAvailable(), 0);
    EXPECT_EQ(window.HitLabel(9)->text(), "0");
}

} // namespace
} // namespace kesto
