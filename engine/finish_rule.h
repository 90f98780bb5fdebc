#pragma once
// How a race ends once its checkered flag has fallen.

namespace kesto {

enum class FinishRule {
    // The leader has finished when the flag falls; every other car finishes
    // on its next pass, and laps after a car's finish still count until the
    // race closes (a lap race stops each car at its distance).
    LeaderAtFlag,
    // The rule RC clubs race by: once the time is up every car, the leader
    // included, finishes on its next pass, and nothing after its finish counts.
    EveryCarOnNextPass,
};

} // namespace kesto
