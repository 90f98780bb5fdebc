#include "engine/port_resolution.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kesto {
namespace {

namespace fs = std::filesystem;

// A program folder and a fake /dev side by side in a fresh temporary folder.
class PortResolution : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kesto-ports-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        program = root / "program";
        dev = root / "dev";
        fs::remove_all(root);
        fs::create_directories(program);
        fs::create_directories(dev);
    }
    void TearDown() override { fs::remove_all(root); }

    void MakeDevice(const std::string& name) { std::ofstream(dev / name) << ""; }
    std::optional<fs::path> Resolve(int port) { return ResolvePortDevice(port, program, dev); }

    fs::path root;
    fs::path program;
    fs::path dev;
};

TEST_F(PortResolution, UsbAdapterBeforeModemBeforeBuiltInPort) {
    MakeDevice("ttyS2");
    EXPECT_EQ(Resolve(3), dev / "ttyS2");
    MakeDevice("ttyACM2");
    EXPECT_EQ(Resolve(3), dev / "ttyACM2");
    MakeDevice("ttyUSB2");
    EXPECT_EQ(Resolve(3), dev / "ttyUSB2");
    // Port n is device n - 1: port 1 is ttyS0, not ttyS1.
    MakeDevice("ttyS0");
    MakeDevice("ttyS1");
    EXPECT_EQ(Resolve(1), dev / "ttyS0");
    EXPECT_EQ(Resolve(16), std::nullopt);
    MakeDevice("ttyUSB15");
    EXPECT_EQ(Resolve(16), dev / "ttyUSB15");
}

TEST_F(PortResolution, ComEntryInProgramFolderWinsInAnyLetterCase) {
    MakeDevice("ttyUSB0");
    MakeDevice("ttyUSB3");
    fs::create_symlink(dev / "ttyUSB3", program / "COM1");
    fs::create_symlink(dev / "ttyUSB0", program / "com4");
    fs::create_symlink(dev / "ttyUSB0", program / "Com12");
    EXPECT_EQ(Resolve(1), fs::absolute(program / "COM1"));
    EXPECT_EQ(Resolve(4), fs::absolute(program / "com4"));
    EXPECT_EQ(Resolve(12), fs::absolute(program / "Com12"));
    // COM1 must not be mistaken for COM12 or the other way round.
    EXPECT_EQ(Resolve(2), std::nullopt);
}

TEST_F(PortResolution, DanglingComLinkIsStillThePortChosen) {
    MakeDevice("ttyUSB1");
    fs::create_symlink(dev / "ttyUSB7", program / "COM2");
    EXPECT_EQ(Resolve(2), fs::absolute(program / "COM2"));
    EXPECT_EQ(DescribePort(2, program, dev), "COM2: " + fs::absolute(program / "COM2").string() +
                                                 " -> " + (dev / "ttyUSB7").string() +
                                                 " (missing)");
}

TEST_F(PortResolution, NumbersOutsideOneToSixteenResolveToNothing) {
    MakeDevice("ttyS0");
    MakeDevice("ttyS16");
    MakeDevice("ttyS-1");
    std::ofstream(program / "COM0") << "";
    std::ofstream(program / "COM17") << "";
    EXPECT_EQ(Resolve(0), std::nullopt);
    EXPECT_EQ(Resolve(17), std::nullopt);
    EXPECT_EQ(Resolve(-1), std::nullopt);
    EXPECT_TRUE(DeviceCandidates(0, dev).empty());
    EXPECT_EQ(DescribePort(17, program, dev), "COM17: not a port number (1 to 16)");
}

TEST_F(PortResolution, DescriptionNamesTheDeviceOrEveryPlaceTried) {
    EXPECT_EQ(DescribePort(3, program, dev), "COM3: no device (" + (dev / "ttyUSB2").string() +
                                                 ", " + (dev / "ttyACM2").string() + ", " +
                                                 (dev / "ttyS2").string() + ")");
    MakeDevice("ttyACM2");
    EXPECT_EQ(DescribePort(3, program, dev), "COM3: " + (dev / "ttyACM2").string());
    fs::create_symlink(dev / "ttyACM2", program / "cOm3");
    EXPECT_EQ(DescribePort(3, program, dev), "COM3: " + fs::absolute(program / "cOm3").string() +
                                                 " -> " + (dev / "ttyACM2").string());
}

TEST_F(PortResolution, MissingProgramFolderFallsBackToDevices) {
    MakeDevice("ttyS4");
    EXPECT_EQ(ResolvePortDevice(5, root / "nowhere", dev), dev / "ttyS4");
}

} // namespace
} // namespace kesto
