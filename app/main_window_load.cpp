#include "app/main_window_load.h"

#include "base/guarded_step.h"
#include "config/data_files.h"
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
    RunGuarded([&] { LoadSettingsFile(folder, SettingsFileName, state.Settings); });
    RunGuarded([&] { LoadIdNames(folder, IdNamesFileName, state.Names); });
    RunGuarded([&] { window.InitResizer(); });
    RunGuarded([&] { window.SetRaceTimer(false); });
    RunGuarded([&] {
        if (steps.initSound)
            steps.initSound();
    });
    state.LapsUnsaved = false;
    state.SummaryUnsaved = false;
    RunGuarded([&] { window.LoadRacerLists(); });
    RunGuarded([&] {
        if (steps.loadRaceFormat)
            steps.loadRaceFormat();
        else
            LoadRaceFormatSilently(state, folder);
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
