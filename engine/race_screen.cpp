#include "engine/race_screen.h"

namespace kesto {

std::string NameLabelText(const RaceState& state, int id) {
    const std::string& name = state.IdName(id);
    return name.empty() ? std::string(" Select Name") : " " + name;
}

} // namespace kesto
