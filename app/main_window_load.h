#pragma once
// The load of the main window, which assembles the running program: settings
// and names, the resizer, the race timer, sound, the name lists, the lag
// column mode, the reset race screen, speed multiplier, row colours, sound
// choices and finally the decoder port. A step that fails is skipped and the
// load goes on. And its unload, which saves what must survive the program.

#include "engine/open_com_port.h"
#include "engine/race_context.h"

#include <filesystem>
#include <functional>

namespace kesto {

class FrmKestoTimer;
class RaceControl;

// The steps that belong to other windows and devices. Empty ones are skipped,
// except the two file reads, which read their files silently by default.
struct MainWindowLoadSteps {
    // The sound player: sound folder and the preloaded "everylap.wav".
    std::function<void()> initSound;
    // The race format window loaded hidden: its file read into the race state
    // (before the reset, whose title shows the format).
    std::function<void()> loadRaceFormat;
    // The sound window loaded hidden: "LMSounds.dat" read into the choices.
    std::function<void()> loadSoundChoices;
    // What OpenComPort may open or close when the port fails.
    OpenComPortHooks comPortHooks;
};

// Reads the race format file into the race state; false when it cannot be read
// (the state keeps its format).
bool LoadRaceFormatSilently(RaceState& state, const std::filesystem::path& folder);

void LoadMainWindow(FrmKestoTimer& window, RaceControl& control, RaceContext& ctx,
                    const MainWindowLoadSteps& steps);

// Unloading the main window after Exit: the port closed, the lag column mode
// (the lag header; "Lag First" when empty) and the racer names saved. A
// failure is shown in a message box and the rest still runs.
void UnloadMainWindow(RaceContext& ctx, const std::filesystem::path& folder);

} // namespace kesto
