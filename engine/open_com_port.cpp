#include "engine/open_com_port.h"

#include "engine/port_resolution.h"

namespace kesto {

namespace {

void AskAfterPortError(RaceContext& ctx, const OpenComPortHooks& hooks) {
    Message box;
    box.title = ComPortErrorTitle;
    box.text = ComPortErrorText;
    box.icon = MessageIcon::Error;
    box.buttons = MessageButtons::YesNo;
    box.defaultAnswer = MessageAnswer::Yes;
    if (ctx.dialogs.Show(box) == MessageAnswer::No) {
        ctx.state.DemoMode = true;
        if (hooks.composeTitle)
            hooks.composeTitle();
        if (hooks.closeSettingsWindow)
            hooks.closeSettingsWindow();
        return;
    }
    if (hooks.settingsWindowShowing && hooks.settingsWindowShowing())
        ctx.state.KeepSettingsOpen = true;
    else if (hooks.showSettingsWindow)
        hooks.showSettingsWindow();
}

} // namespace

std::string PortInUseText(int port) {
    return "COM" + std::to_string(port) +
           " is in use by another program, perhaps another timer.\n"
           "Only one program can read the decoder: close the other one, or choose another port.";
}

bool OpenComPort(RaceContext& ctx, int port, const OpenComPortHooks& hooks) {
    if (!IsValidPortNumber(port)) {
        Message box;
        box.text = InvalidPortNumberText;
        ctx.dialogs.Show(box);
        return false;
    }
    if (ctx.port.IsOpen())
        ctx.port.Close();
    if (ctx.port.Open(port) && ctx.port.IsOpen()) {
        // Opening drops RTS. During a race the decoder runs its clock from
        // it, so it goes back to what the race needs; a port without modem
        // lines is no error.
        ctx.port.SetRts(ctx.state.RtsRaised);
        return true;
    }
    ctx.port.Close();
    if (ctx.port.InUseElsewhere()) {
        Message box;
        box.title = ComPortErrorTitle;
        box.text = PortInUseText(port);
        box.icon = MessageIcon::Error;
        ctx.dialogs.Show(box);
    }
    AskAfterPortError(ctx, hooks);
    return false;
}

} // namespace kesto
