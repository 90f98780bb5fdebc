#pragma once
// Two versions of each file the timer saves, for the suite's kill during a
// save: the child saves them in turn until it is killed, the suite then finds
// each file whole in one version or the other.

#include "base/settings_records.h"

#include <string>
#include <vector>

namespace kesto::faults {

struct SaveVersion {
    SettingsRecord settings;
    IdNamesRecord names;
    std::vector<std::string> roster;
    std::string lagMode;
};

inline SaveVersion SavedVersion(int which) {
    SaveVersion version;
    if (which == 0) {
        version.settings.TrackName = "Short";
        version.roster = {"Ann"};
        version.lagMode = "Lag First";
    } else {
        version.settings.TrackName = std::string(200, 'L');
        version.settings.TrackLength = 150;
        version.names.IdName.fill(std::string(60, 'N'));
        version.roster.assign(3000, "Bob");
        version.lagMode = "Lag Behind";
    }
    return version;
}

} // namespace kesto::faults
