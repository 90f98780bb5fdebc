#pragma once
// What the settings window shows beside the port list: the device a decoder
// port number reaches on this machine, so a club with a USB serial adapter
// can see which number is the adapter before confirming.

#include <filesystem>
#include <string>

namespace kesto {

inline constexpr const char* PortNotPresentText = "not present";

// "/dev/ttyUSB0", followed by the adapter's name from /dev/serial/by-id when
// it has one ("/dev/ttyUSB0 (usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0)");
// "not present" when the number reaches no existing device (a COMn link of
// the program folder whose adapter is unplugged included).
std::string PortDeviceText(int portNumber, const std::filesystem::path& programFolder,
                           const std::filesystem::path& devFolder = "/dev");

} // namespace kesto
