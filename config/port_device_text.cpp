#include "config/port_device_text.h"

#include "engine/port_resolution.h"

#include <system_error>

namespace kesto {

namespace fs = std::filesystem;

namespace {

// The name under devFolder/serial/by-id that links to `device`, if any.
std::string AdapterName(const fs::path& device, const fs::path& devFolder) {
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error)
        return {};
    for (fs::directory_iterator it(devFolder / "serial" / "by-id", error), end; !error && it != end;
         it.increment(error)) {
        std::error_code linkError;
        if (fs::canonical(it->path(), linkError) == target && !linkError)
            return it->path().filename().string();
    }
    return {};
}

} // namespace

std::string PortDeviceText(int portNumber, const fs::path& programFolder,
                           const fs::path& devFolder) {
    const auto device = ResolvePortDevice(portNumber, programFolder, devFolder);
    std::error_code error;
    if (!device || !fs::exists(*device, error))
        return PortNotPresentText;
    // A COMn link of the program folder shows the device it leads to.
    fs::path shown = fs::is_symlink(fs::symlink_status(*device, error))
                         ? fs::canonical(*device, error)
                         : *device;
    if (error)
        shown = *device;
    std::string text = shown.string();
    const std::string adapter = AdapterName(shown, devFolder);
    if (!adapter.empty())
        text += " (" + adapter + ")";
    return text;
}

} // namespace kesto
