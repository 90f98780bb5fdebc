#include "app/main_window_load.h"

#include "base/guarded_step.h"
#include "config/data_files.h"
#include "config/folder_check.h"
#include "config/race_format_lists.h"
#include "config/settings_files.h"
#include "config/sound_choices_file.h"
#include "display/qt/race_screen_window.h"
#include "engine/race_control.h"

namespace kesto {

bool LoadRaceFormatSilently(RaceState& state, const std::filesystem::path& folder) {
    RaceFormatChoices choices;
    if (!ReadRaceFormat(folder, choices))
        return false;
    ApplyRaceFormatChoices(choices, state);
    return true;
}

void LoadMainWindow(FrmKestoTimer& window, RaceControl& control, RaceContext& ctx,
                    const MainWindowLoadSteps& steps) {
    RaceState& state = ctx.state;
    const std::filesystem::path& folder = window.ProgramFolder();

    // The close box is taken care of by the window itself (it ignores it).
    RunGuarded([&] {
        // Told once: a link or a FIFO in a file's place is read as missing, never written.
        const std::string left = FilesLeftAsTheyAreText(FilesLeftAsTheyAre(folder));
        if (!left.empty())
            ctx.dialogs.Show(Message{"Kesto Timer", left, MessageIcon::Warning, MessageButtons::Ok,
                                     MessageAnswer::Ok});
    });
    RunGuarded([&] { LoadSettingsFile(folder, SettingsFileName, state.Settings); });
    RunGuarded([&] { LoadIdNames(folder, IdNamesFileName, state.Names); });
    RunGuarded([&] { window.InitResizer(); });
    // The race timer Timer1 was made stopped with the window (main_window_parts.h).
    RunGuarded([&] {
        if (steps.initSound)
            steps.initSound();
    });
    state.LapsUnsaved = false;
    state.SummaryUnsaved = false;
    RunGuarded([&] {
        // A roster larger than any club's is read in part; said once, here.
        const std::string cutNotice = window.LoadRacerLists();
        if (!cutNotice.empty())
            ctx.dialogs.Show(Message{"Racers", cutNotice, MessageIcon::Information,
                                     MessageButtons::Ok, MessageAnswer::Ok});
    });
    RunGuarded([&] {
        if (steps.loadRaceFormat)
            steps.loadRaceFormat();
        else
            LoadRaceFormatSilently(state, folder);
    });
    // Read once: from here on the lag column keeps the mode the operator chose.
    RunGuarded([&] {
        std::string mode = window.Actions().LagModeSetting();
        if (ReadLagColumnMode(folder, mode))
            window.Actions().SetLagModeSetting(mode);
    });
    RunGuarded([&] { control.ReSet(); });
    RunGuarded([&] { ReadSpeedMultiplier(folder, state.SpeedMultiplier); });
    RunGuarded([&] { window.ApplyIdColors(); });
    RunGuarded([&] { window.SetPointer(Pointer::Default); });
    RunGuarded([&] {
        if (steps.loadSoundChoices)
            steps.loadSoundChoices();
        else
            ReadSoundChoices(folder, ctx.sounds);
    });
    RunGuarded([&] { OpenComPort(ctx, state.Settings.ComPort, steps.comPortHooks); });
}

} // namespace kesto

namespace kesto {

namespace {

void ShowError(RaceContext& ctx, const std::string& description) {
    ctx.dialogs.Show(
        Message{"", description, MessageIcon::None, MessageButtons::Ok, MessageAnswer::Ok});
}

} // namespace

void UnloadMainWindow(RaceContext& ctx, const std::filesystem::path& folder) {
    try {
        if (ctx.port.IsOpen())
            ctx.port.Close();
    } catch (const std::exception& error) {
        ShowError(ctx, error.what());
    }
    std::string error;
    if (!WriteLagColumnMode(folder, ctx.state.LagColumnMode, &error))
        ShowError(ctx, error);
    error.clear();
    if (!SaveIdNames(folder, IdNamesFileName, ctx.state.Names, &error))
        ShowError(ctx, error);
}

} // namespace kesto
