// The decoder port against a real pseudo-terminal pair made by socat: the
// program folder holds the two ends as COM3 and "com4", the test writes at
// one end with plain POSIX calls and reads at the other through the port.
#include "engine/qt/serial_decoder_port.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace kesto {
namespace {

namespace fs = std::filesystem;

// The end of the pair the decoder would sit on, written with plain write().
class FarEnd final {
public:
    explicit FarEnd(const fs::path& link) : m_fd(::open(link.c_str(), O_WRONLY | O_NOCTTY)) {}
    ~FarEnd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(const std::string& bytes) {
        return ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

private:
    int m_fd;
};

class SerialDecoderPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty())
            GTEST_SKIP() << "socat is not installed";
        ASSERT_TRUE(m_folder.isValid());
        program = fs::path(m_folder.path().toStdString()) / "program";
        emptyDev = fs::path(m_folder.path().toStdString()) / "dev";
        fs::create_directories(program);
        fs::create_directories(emptyDev);
        com3 = program / "COM3";
        com4 = program / "com4";

        m_socat.setProgram(QStringLiteral("socat"));
        m_socat.setArguments({QStringLiteral("-d"), QStringLiteral("-d"),
                              QString::fromStdString("pty,raw,echo=0,link=" + com3.string()),
                              QString::fromStdString("pty,raw,echo=0,link=" + com4.string())});
        m_socat.setReadChannel(QProcess::StandardError);
        m_socat.start();
        ASSERT_TRUE(m_socat.waitForStarted(5000));
        // socat reports each pty on stderr as it makes it; wait on that output
        // until both links exist.
        QDeadlineTimer deadline(5000);
        while (!(fs::exists(com3) && fs::exists(com4)) && !deadline.hasExpired() &&
               m_socat.state() == QProcess::Running)
            m_socat.waitForReadyRead(50);
        ASSERT_TRUE(fs::exists(com3) && fs::exists(com4)) << m_socat.readAllStandardError().data();
    }

    void TearDown() override { StopSocat(); }

    void StopSocat() {
        if (m_socat.state() == QProcess::NotRunning)
            return;
        m_socat.terminate();
        if (!m_socat.waitForFinished(3000)) {
            m_socat.kill();
            m_socat.waitForFinished(3000);
        }
    }

    // Reads until `count` bytes came or a deadline passed, the way the race
    // timer's tick does: BytesAvailable() then Read(), no event loop pass.
    static std::string ReadAtLeast(SerialDecoderPort& port, size_t count, int maxRead = 4096) {
        std::string received;
        QDeadlineTimer deadline(5000);
        while (received.size() < count && !deadline.hasExpired())
            if (port.BytesAvailable() > 0)
                received += port.Read(maxRead);
        return received;
    }

    fs::path program;
    fs::path emptyDev;
    fs::path com3;
    fs::path com4;

private:
    QTemporaryDir m_folder;
    QProcess m_socat;
};

TEST_F(SerialDecoderPortTest, LinesWrittenAtTheFarEndArriveWithoutAnEventLoop) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Device(), fs::absolute(com3));
    EXPECT_TRUE(port.LastError().empty());
    FarEnd decoder(com4);
    ASSERT_TRUE(decoder.IsOpen());

    // A record cut in two writes, one with CR LF, several lines in one write.
    const std::string expected = "@0512345678\r\n@00123456\n@0612345679\r\n@0700000101\n";
    ASSERT_TRUE(decoder.Write("@051234"));
    ASSERT_TRUE(decoder.Write("5678\r\n"));
    ASSERT_TRUE(decoder.Write("@00123456\n"));
    ASSERT_TRUE(decoder.Write("@0612345679\r\n@0700000101\n"));
    EXPECT_EQ(ReadAtLeast(port, expected.size()), expected);
    EXPECT_EQ(port.BytesAvailable(), 0);
    EXPECT_EQ(port.Read(), "");
}

TEST_F(SerialDecoderPortTest, LowerCaseComLinkAndSmallReads) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(4)) << port.LastError();
    FarEnd decoder(com3);
    ASSERT_TRUE(decoder.IsOpen());
    ASSERT_TRUE(decoder.Write("@1100000099\n@"));
    ASSERT_TRUE(decoder.Write("1200000100\n"));
    // One character per read, as the decoder link reads it.
    EXPECT_EQ(ReadAtLeast(port, 24, 1), "@1100000099\n@1200000100\n");
}

TEST_F(SerialDecoderPortTest, RaceTimerTicksSeeEveryLine) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    FarEnd decoder(com4);
    ASSERT_TRUE(decoder.IsOpen());
    const std::string expected = "@0100001000\n@0200001001\n";

    std::string received;
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        while (port.BytesAvailable() > 0)
            received += port.Read();
        if (received.size() >= expected.size())
            loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    tick.start();
    ASSERT_TRUE(decoder.Write("@0100001000\n"));
    ASSERT_TRUE(decoder.Write("@02000"));
    ASSERT_TRUE(decoder.Write("01001\n"));
    loop.exec();
    EXPECT_EQ(received, expected);
}

TEST_F(SerialDecoderPortTest, RtsOnAPseudoTerminalIsRefusedButThePortGoesOn) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    EXPECT_FALSE(port.SetRts(true));
    EXPECT_FALSE(port.LastError().empty());
    EXPECT_FALSE(port.SetRts(false));
    EXPECT_TRUE(port.IsOpen());

    FarEnd decoder(com4);
    ASSERT_TRUE(decoder.Write("@0300000500\n"));
    EXPECT_EQ(ReadAtLeast(port, 12), "@0300000500\n");
}

TEST_F(SerialDecoderPortTest, DiscardInputDropsWhatWaits) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    FarEnd decoder(com4);
    ASSERT_TRUE(decoder.Write("@0100000100\n"));
    ASSERT_TRUE(port.WaitForInput(5000));
    port.DiscardInput();
    EXPECT_EQ(port.BytesAvailable(), 0);
    ASSERT_TRUE(decoder.Write("@0200000200\n"));
    EXPECT_EQ(ReadAtLeast(port, 12), "@0200000200\n");
}

TEST_F(SerialDecoderPortTest, MissingOrBusyPortFailsWithAReason) {
    SerialDecoderPort port(program, emptyDev);
    EXPECT_FALSE(port.Open(9));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_NE(port.LastError().find("COM9: no device"), std::string::npos) << port.LastError();
    EXPECT_FALSE(port.Open(0));
    EXPECT_FALSE(port.Open(17));

    // A COM link whose device is gone (adapter unplugged).
    fs::create_symlink(emptyDev / "ttyUSB4", program / "COM5");
    EXPECT_FALSE(port.Open(5));
    EXPECT_FALSE(port.LastError().empty());
    EXPECT_EQ(port.BytesAvailable(), 0);
    EXPECT_EQ(port.Read(), "");
    EXPECT_FALSE(port.SetRts(true));

    // The same device held by another port.
    SerialDecoderPort first(program, emptyDev);
    ASSERT_TRUE(first.Open(3)) << first.LastError();
    EXPECT_FALSE(port.Open(3));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.LastError().empty());
    first.Close();
    EXPECT_TRUE(port.Open(3)) << port.LastError();
}

TEST_F(SerialDecoderPortTest, ReopeningMovesToTheNewPortAndCloseAlwaysWorks) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    ASSERT_TRUE(port.Open(4)) << port.LastError();
    EXPECT_EQ(port.Device(), fs::absolute(com4));
    // Port 3 is free again.
    SerialDecoderPort other(program, emptyDev);
    EXPECT_TRUE(other.Open(3)) << other.LastError();
    other.Close();
    other.Close();
    EXPECT_FALSE(other.IsOpen());

    // The far end dies while the port is open: reading returns nothing and
    // Close() still releases the port.
    EXPECT_FALSE(port.LinkLost());
    StopSocat();
    EXPECT_EQ(port.BytesAvailable(), 0);
    EXPECT_EQ(port.Read(), "");
    EXPECT_TRUE(port.LinkLost());
    EXPECT_TRUE(port.IsOpen());
    port.Close();
    EXPECT_FALSE(port.LinkLost());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.BytesAvailable(), 0);
}

} // namespace
} // namespace kesto
