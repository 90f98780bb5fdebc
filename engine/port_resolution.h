#pragma once
// Which device file a decoder port number (1..16) means on this machine.
// A club can pin a port to a device with an entry named COMn in the program
// folder (usually a symbolic link such as COM3 -> /dev/ttyUSB0, any letter
// case); otherwise port n is the (n-1)th USB serial adapter, USB modem-class
// adapter or built-in serial port, whichever exists first.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

inline constexpr int MinPortNumber = 1;
inline constexpr int MaxPortNumber = 16;

inline bool IsValidPortNumber(int portNumber) {
    return portNumber >= MinPortNumber && portNumber <= MaxPortNumber;
}

// The device files tried for a port in order: ttyUSB(n-1), ttyACM(n-1), ttyS(n-1).
std::vector<std::filesystem::path>
DeviceCandidates(int portNumber, const std::filesystem::path& devFolder = "/dev");

// The device to open for port `portNumber`, or nothing when the number is out
// of range or no candidate exists. A COMn entry in the program folder wins even
// when its link is dangling (the adapter is unplugged): falling back to some
// other device would quietly read the wrong line.
std::optional<std::filesystem::path>
ResolvePortDevice(int portNumber, const std::filesystem::path& programFolder,
                  const std::filesystem::path& devFolder = "/dev");

// The path that finds `device` again after it vanished and came back (a USB
// adapter unplugged and plugged in, a COM link remade): the udev link under
// devFolder/serial/by-id that leads to it (the adapter's own name, whatever
// number it comes back as), or else the path itself (a COMn entry, a
// built-in port). A reconnect opens this and never resolves the port number
// again, so it cannot land on another device.
std::filesystem::path StableDevicePath(const std::filesystem::path& device,
                                       const std::filesystem::path& devFolder = "/dev");

// One line for the settings window: "COM3: /dev/ttyUSB2",
// "COM3: /opt/kesto/com3 -> /dev/ttyUSB0", "COM3: /opt/kesto/COM3 -> /dev/ttyUSB0 (missing)",
// "COM3: no device (/dev/ttyUSB2, /dev/ttyACM2, /dev/ttyS2)".
std::string DescribePort(int portNumber, const std::filesystem::path& programFolder,
                         const std::filesystem::path& devFolder = "/dev");

} // namespace kesto
