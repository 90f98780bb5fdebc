#include "config/port_device_text.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

namespace fs = std::filesystem;

class PortDeviceTextTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        dev = folder / "dev";
        program = folder / "program";
        fs::create_directories(dev / "serial" / "by-id");
        fs::create_directories(program);
    }
    fs::path dev;
    fs::path program;
};

TEST_F(PortDeviceTextTest, ThePortsDeviceWithTheAdaptersName) {
    WriteBytes(dev / "ttyUSB0", "");
    WriteBytes(dev / "ttyS1", "");
    fs::create_symlink("../../ttyUSB0", dev / "serial" / "by-id" / "usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(PortDeviceText(1, program, dev),
              (dev / "ttyUSB0").string() + " (usb-FTDI_FT232R-if00-port0)");
    EXPECT_EQ(PortDeviceText(2, program, dev), (dev / "ttyS1").string());
    EXPECT_EQ(PortDeviceText(3, program, dev), "not present");
    EXPECT_EQ(PortDeviceText(0, program, dev), "not present");
}

TEST_F(PortDeviceTextTest, AComLinkShowsWhereItLeadsOrNotPresentWhenUnplugged) {
    WriteBytes(dev / "ttyUSB4", "");
    fs::create_symlink(dev / "ttyUSB4", program / "com3");
    fs::create_symlink(dev / "ttyUSB9", program / "COM5");
    WriteBytes(dev / "ttyS4", ""); // COM5 must not fall back to it
    EXPECT_EQ(PortDeviceText(3, program, dev), fs::canonical(dev / "ttyUSB4").string());
    EXPECT_EQ(PortDeviceText(5, program, dev), "not present");
}

} // namespace
} // namespace kesto
