// The decoder port against a real pseudo-terminal pair made by socat: the
// program folder holds the two ends as COM3 and "com4", the test writes at
// one end with plain POSIX calls and reads at the other through the port.
#include "engine/qt/serial_decoder_port.h"

#include "engine/decoder_link_watch.h"
#include "engine/open_com_port.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "support/fake_race_screen.h"
#include "support/race_rig.h"
#include "support/scripted_start_sequence.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

// socat joining two pseudo-terminals through two links; stopped outright, as
// an adapter pulled out (its links then dangle).
class SocatPair final {
public:
    ~SocatPair() { Stop(); }
    bool Start(const fs::path& one, const fs::path& other, std::string* why) {
        m_socat.setProgram(QStringLiteral("socat"));
        m_socat.setArguments({QStringLiteral("-d"), QStringLiteral("-d"),
                              QString::fromStdString("pty,raw,echo=0,link=" + one.string()),
                              QString::fromStdString("pty,raw,echo=0,link=" + other.string())});
        m_socat.setReadChannel(QProcess::StandardError);
        m_socat.start();
        if (!m_socat.waitForStarted(5000)) {
            *why = "socat did not start";
            return false;
        }
        // socat reports each pty on stderr as it makes it; wait on that output
        // until both links lead somewhere.
        QDeadlineTimer deadline(5000);
        while (!(fs::exists(one) && fs::exists(other)) && !deadline.hasExpired() &&
               m_socat.state() == QProcess::Running)
            m_socat.waitForReadyRead(50);
        if (fs::exists(one) && fs::exists(other))
            return true;
        *why = m_socat.readAllStandardError().toStdString();
        return false;
    }
    void Stop() {
        if (m_socat.state() == QProcess::NotRunning)
            return;
        m_socat.kill();
        m_socat.waitForFinished(3000);
    }

private:
    QProcess m_socat;
};

// The end of the pair the decoder would sit on, written with plain write().
class FarEnd final {
public:
    explicit FarEnd(const fs::path& link, int flags = 0)
        : m_fd(::open(link.c_str(), O_WRONLY | O_NOCTTY | flags)) {}
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
    // What a write without waiting took (-1: nothing, the line is full).
    ssize_t WriteSome(const std::string& bytes) {
        return ::write(m_fd, bytes.data(), bytes.size());
    }

private:
    int m_fd;
};

// A whole timer without windows on `port`: race control and the race tick
// over the test doubles, every row named.
struct TimerOn {
    explicit TimerOn(DecoderPort& port)
        : ctx{race.state, race.sounds, race.player, race.dialogs, race.random, race.clock, port} {
        for (int id = 1; id <= MaxCarIds; ++id)
            race.state.Names.IdName[id - 1] = "Racer " + std::to_string(id);
    }
    test::TestRace race;
    RaceContext ctx;
    test::FakeRaceScreen screen{race.state};
    test::ScriptedStartSequenceLauncher launcher{ctx};
    RaceControl control{ctx, screen, launcher, screen};
    RaceTick tick{ctx, control, screen};
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
        std::string why;
        ASSERT_TRUE(m_socat.Start(com3, com4, &why)) << why;
    }

    void StopSocat() { m_socat.Stop(); }

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

    fs::path Temp() const { return fs::path(m_folder.path().toStdString()); }

private:
    QTemporaryDir m_folder;
    SocatPair m_socat;
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

// Between ticks the event loop says when bytes arrive, so the race timer
// reads them at once.
TEST_F(SerialDecoderPortTest, BytesArrivingBetweenReadsAreAnnounced) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    FarEnd decoder(com4);
    std::string received;
    QEventLoop loop;
    port.SetInputArrived([&] {
        while (port.BytesAvailable() > 0)
            received += port.Read();
        if (received.size() >= 12)
            loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    ASSERT_TRUE(decoder.Write("@0100001000\n"));
    loop.exec();
    EXPECT_EQ(received, "@0100001000\n");
}

// With the event loop watching, a tick that finds nothing buffered leaves
// the device alone, but still looks now and then: a far end that dies while
// the event loop does not run is found by the ticks alone.
TEST_F(SerialDecoderPortTest, WhileTheEventLoopWatchesTheTicksStillFindAHangUp) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    port.SetInputArrived([] {});
    StopSocat();
    int ticks = 0;
    for (; ticks < 100 && !port.LinkLost(); ++ticks)
        EXPECT_EQ(port.BytesAvailable(), 0);
    EXPECT_TRUE(port.LinkLost());
    EXPECT_LE(ticks, 32);
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

TEST_F(SerialDecoderPortTest, BetweenRacesThePortKeepsNoMoreThanTheDecodersPortHolds) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    FarEnd decoder(com4, O_NONBLOCK);
    ASSERT_TRUE(decoder.IsOpen());
    // The decoder talks on with nobody racing, the event loop turning: the
    // program stops taking its lines once it holds what the decoder's port would.
    std::string second;
    for (int line = 0; line < 100; ++line)
        second += "@0712345678\n";
    size_t sent = 0;
    bool lineFull = false;
    QEventLoop loop;
    QTimer talk;
    talk.setInterval(1);
    QObject::connect(&talk, &QTimer::timeout, &loop, [&] {
        const ssize_t n = decoder.WriteSome(second);
        lineFull = n < 0;
        sent += n > 0 ? static_cast<size_t>(n) : 0;
        if (lineFull || sent >= (size_t{1} << 20))
            loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    talk.start();
    loop.exec();
    EXPECT_TRUE(lineFull) << "the program took all of " << sent << " characters";
    EXPECT_LE(port.BytesAvailable(), DecoderPortBufferSize);

    // The port full took no harm: what the decoder sends next still arrives.
    const std::string marker = "@0300000500\n";
    std::string unsent = marker;
    std::string received;
    QDeadlineTimer deadline(5000);
    while (received.find(marker) == std::string::npos && !deadline.hasExpired()) {
        if (const ssize_t n = unsent.empty() ? 0 : decoder.WriteSome(unsent); n > 0)
            unsent.erase(0, static_cast<size_t>(n));
        if (port.BytesAvailable() > 0)
            received += port.Read();
    }
    EXPECT_NE(received.find(marker), std::string::npos);
}

TEST_F(SerialDecoderPortTest, PracticeDropsWhatTheDecoderSentBeforeItsStart) {
    SerialDecoderPort port(program, emptyDev);
    ASSERT_TRUE(port.Open(3)) << port.LastError();
    TimerOn timer(port);
    RaceState& state = timer.race.state;
    state.PracticeMode = true;
    timer.control.ReSet();
    // Before the start: a clock line, a pass and the start of a line.
    FarEnd decoder(com4);
    const std::string stale = test::DecoderClockLine(1000) + test::DecoderPassLine(3, 1500) + "@05";
    ASSERT_TRUE(decoder.Write(stale));
    QDeadlineTimer deadline(5000);
    while (port.BytesAvailable() < static_cast<int>(stale.size()) && !deadline.hasExpired()) {
    }
    timer.control.cmdStart_Click();
    ASSERT_TRUE(state.TimerEnabled);

    ASSERT_TRUE(decoder.Write(test::DecoderPassLine(3, 500)));
    while (state.LapCount[2] == 0 && !deadline.hasExpired())
        timer.tick.Timer1_Timer(10);
    EXPECT_EQ(state.LapCount[2], 1);
    EXPECT_EQ(state.LastPassTime[2], 500);
    EXPECT_EQ(state.RaceClock, 0);
    EXPECT_TRUE(state.RejectedPasses.empty());
}

TEST_F(SerialDecoderPortTest, TheDeviceIsLockedWhateverPathReachesIt) {
    // A second timer's folder whose COM3 leads to the same terminal by
    // another path.
    const fs::path other = Temp() / "other";
    fs::create_directories(other);
    fs::create_symlink(fs::canonical(com3), other / "COM3");
    SerialDecoderPort racing(program, emptyDev);
    ASSERT_TRUE(racing.Open(3)) << racing.LastError();
    SerialDecoderPort second(other, emptyDev);
    EXPECT_FALSE(second.Open(3));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(second.InUseElsewhere());
    EXPECT_NE(second.LastError().find("in use by another program"), std::string::npos)
        << second.LastError();
    EXPECT_FALSE(racing.InUseElsewhere());
    // The second timer says so before its port question.
    TimerOn secondTimer(second);
    EXPECT_FALSE(OpenComPort(secondTimer.ctx, 3, {}));
    const std::vector<Message>& shown = secondTimer.race.dialogs.shown;
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, PortInUseText(3));
    EXPECT_EQ(shown[1].text, ComPortErrorText);

    // The racing timer still reads every line.
    FarEnd decoder(com4);
    ASSERT_TRUE(decoder.Write("@0100001000\n"));
    EXPECT_EQ(ReadAtLeast(racing, 12), "@0100001000\n");

    racing.Close();
    EXPECT_TRUE(second.Open(3)) << second.LastError();
    EXPECT_FALSE(second.InUseElsewhere());
}

// A race on port 1 with no COM link: port 1 is the USB adapter ttyUSB0 of a
// fake /dev, beside the built-in port ttyS0 (both pseudo-terminals). The
// adapter is pulled out mid-race and plugged in again.
TEST_F(SerialDecoderPortTest, TheLinkWatchReopensTheDeviceTheRaceHadNeverAnother) {
    const fs::path dev = Temp() / "fakedev";
    fs::create_directories(dev);
    SocatPair adapter, builtIn;
    std::string why;
    ASSERT_TRUE(adapter.Start(Temp() / "adapter", Temp() / "adapter-decoder", &why)) << why;
    ASSERT_TRUE(builtIn.Start(Temp() / "serial0", Temp() / "serial0-far", &why)) << why;
    fs::create_symlink(fs::canonical(Temp() / "adapter"), dev / "ttyUSB0");
    fs::create_symlink(fs::canonical(Temp() / "serial0"), dev / "ttyS0");
    const fs::path builtInDevice = fs::canonical(dev / "ttyS0");

    SerialDecoderPort port(program, dev);
    TimerOn timer(port);
    test::TestRace& race = timer.race;
    RaceControl& control = timer.control;
    RaceTick& tick = timer.tick;
    race.state.PracticeMode = true;
    race.state.Settings.ComPort = 1;
    control.ReSet();
    ASSERT_TRUE(port.Open(1)) << port.LastError();
    EXPECT_EQ(port.Device(), dev / "ttyUSB0");
    control.cmdStart_Click();
    ASSERT_TRUE(race.state.TimerEnabled);

    // Pulled out: its terminal and its device file are gone.
    adapter.Stop();
    fs::remove(dev / "ttyUSB0");
    for (int t = 0; t < 400; ++t)
        tick.Timer1_Timer(10);
    EXPECT_EQ(tick.LinkWatch().State(), DecoderLinkWatch::Link::Lost);
    EXPECT_GE(tick.LinkWatch().ReopenAttempts(), 3);
    EXPECT_FALSE(port.IsOpen()) << "opened " << port.Device();
    EXPECT_NE(fs::weakly_canonical(port.Device()), builtInDevice);

    // Plugged in again (a new terminal behind the same device file).
    ASSERT_TRUE(adapter.Start(Temp() / "adapter2", Temp() / "adapter2-decoder", &why)) << why;
    fs::create_symlink(fs::canonical(Temp() / "adapter2"), dev / "ttyUSB0");
    for (int t = 0; t < 100 && !port.IsOpen(); ++t)
        tick.Timer1_Timer(10);
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Device(), dev / "ttyUSB0");
    FarEnd decoder(Temp() / "adapter2-decoder");
    ASSERT_TRUE(decoder.Write(test::DecoderClockLine(5000)));
    ASSERT_TRUE(port.WaitForInput(5000));
    tick.Timer1_Timer(10);
    EXPECT_EQ(tick.LinkWatch().State(), DecoderLinkWatch::Link::Fine);
}

TEST_F(SerialDecoderPortTest, AnAdapterKnownByItsUdevNameIsFoundAgainUnderAnotherNumber) {
    const fs::path dev = Temp() / "fakedev";
    fs::create_directories(dev / "serial" / "by-id");
    const fs::path byId = dev / "serial" / "by-id" / "usb-Lapmark_Decoder_0042-if00-port0";
    fs::create_symlink(fs::canonical(com3), dev / "ttyUSB0");
    fs::create_symlink("../../ttyUSB0", byId);
    fs::create_symlink(fs::canonical(com4), dev / "ttyS0"); // another openable port
    SerialDecoderPort port(program / "none", dev);
    ASSERT_TRUE(port.Open(1)) << port.LastError();
    port.Close();
    // Back as ttyUSB1 (ttyUSB0 was still taken): the udev name leads there.
    fs::remove(dev / "ttyUSB0");
    fs::remove(byId);
    SocatPair again;
    std::string why;
    ASSERT_TRUE(again.Start(Temp() / "again", Temp() / "again-decoder", &why)) << why;
    fs::create_symlink(fs::canonical(Temp() / "again"), dev / "ttyUSB1");
    EXPECT_FALSE(port.Reopen(1)) << "not yet known to udev";
    fs::create_symlink("../../ttyUSB1", byId);
    ASSERT_TRUE(port.Reopen(1)) << port.LastError();
    EXPECT_EQ(port.Device(), byId);
    FarEnd decoder(Temp() / "again-decoder");
    ASSERT_TRUE(decoder.Write("@0200000300\n"));
    EXPECT_EQ(ReadAtLeast(port, 12), "@0200000300\n");
}

} // namespace
} // namespace kesto
