#pragma once
// OpenComPort: opens the decoder's serial port, and when that fails lets the
// user choose between picking another port and racing in demo mode.

#include "engine/race_context.h"

#include <functional>
#include <string>

namespace kesto {

// What OpenComPort needs from the windows around it. Any hook may be left
// empty (then it is skipped; settingsWindowShowing reads as false).
struct OpenComPortHooks {
    // The settings window frmKestoSettings is open.
    std::function<bool()> settingsWindowShowing;
    // Shows the settings window modally so another port can be chosen.
    std::function<void()> showSettingsWindow;
    // Unloads the settings window (after the user chose demo mode).
    std::function<void()> closeSettingsWindow;
    // Rewrites the main window's title and race format caption from the state.
    std::function<void()> composeTitle;
};

// The three lines of the box shown when the port does not open.
inline constexpr const char* ComPortErrorTitle = "Com Port";
inline constexpr const char* ComPortErrorText = "Com Port ERROR!\n"
                                                "To Select a Different PORT click \"Yes\"\n"
                                                "To use Demo mode, click \"No\"";
inline constexpr const char* InvalidPortNumberText = "Invalid Port Number";

// Said first when the port failed because another program holds the device.
std::string PortInUseText(int port);

// Opens decoder port `port` (1..16) on ctx.port, closing it first if open.
// True when the port is open, with RTS as the race needs it (raised from the
// start of timing to the close or abort). On failure the user is asked what to do: "No"
// ticks demo mode, "Yes" keeps or shows the settings window; when another
// program (another timer) holds the device, a message says so first.
bool OpenComPort(RaceContext& ctx, int port, const OpenComPortHooks& hooks);

} // namespace kesto
