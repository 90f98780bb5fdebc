#include "engine/port_resolution.h"

#include "base/file_names.h"

#include <system_error>

namespace kesto {

namespace fs = std::filesystem;

namespace {

std::string PortName(int portNumber) {
    return "COM" + std::to_string(portNumber);
}

// The COMn entry of the program folder, if there is one (a dangling link counts).
std::optional<fs::path> ProgramFolderEntry(int portNumber, const fs::path& programFolder) {
    std::error_code error;
    fs::path entry = ResolveInFolder(programFolder, PortName(portNumber));
    if (!fs::exists(fs::symlink_status(entry, error)))
        return std::nullopt;
    // QSerialPort takes a path that starts with '/' as it is; a relative one
    // would be looked up under /dev.
    fs::path absolute = fs::absolute(entry, error);
    return error ? entry : absolute;
}

} // namespace

std::vector<fs::path> DeviceCandidates(int portNumber, const fs::path& devFolder) {
    if (!IsValidPortNumber(portNumber))
        return {};
    std::string index = std::to_string(portNumber - 1);
    return {devFolder / ("ttyUSB" + index), devFolder / ("ttyACM" + index),
            devFolder / ("ttyS" + index)};
}

std::optional<fs::path> ResolvePortDevice(int portNumber, const fs::path& programFolder,
                                          const fs::path& devFolder) {
    if (!IsValidPortNumber(portNumber))
        return std::nullopt;
    if (auto entry = ProgramFolderEntry(portNumber, programFolder))
        return entry;
    for (const fs::path& candidate : DeviceCandidates(portNumber, devFolder)) {
        std::error_code error;
        if (fs::exists(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

fs::path StableDevicePath(const fs::path& device, const fs::path& devFolder) {
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error)
        return device;
    for (const auto& link : fs::directory_iterator(devFolder / "serial" / "by-id", error)) {
        std::error_code linkError;
        if (fs::canonical(link.path(), linkError) == target && !linkError)
            return link.path();
    }
    return device;
}

std::string DescribePort(int portNumber, const fs::path& programFolder, const fs::path& devFolder) {
    std::string name = PortName(portNumber);
    if (!IsValidPortNumber(portNumber))
        return name + ": not a port number (1 to 16)";
    if (auto entry = ProgramFolderEntry(portNumber, programFolder)) {
        std::error_code error;
        std::string text = name + ": " + entry->string();
        if (fs::is_symlink(fs::symlink_status(*entry, error))) {
            fs::path target = fs::read_symlink(*entry, error);
            if (!error)
                text += " -> " + target.string();
        }
        if (!fs::exists(*entry, error))
            text += " (missing)";
        return text;
    }
    if (auto device = ResolvePortDevice(portNumber, programFolder, devFolder))
        return name + ": " + device->string();
    std::string tried;
    for (const fs::path& candidate : DeviceCandidates(portNumber, devFolder))
        tried += (tried.empty() ? "" : ", ") + candidate.string();
    return name + ": no device (" + tried + ")";
}

} // namespace kesto
