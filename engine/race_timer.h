#pragma once
// The race timer Timer1 as race control sees it: a 10 ms periodic timer,
// started when timing begins and stopped when the race closes or is aborted.
// Each of its ticks runs RaceTick::Timer1_Timer; the program's timer is a Qt
// one beside the main window, tests hold it in their hands.

namespace kesto {

class RaceTimer {
public:
    virtual ~RaceTimer() = default;
    virtual void SetRaceTimer(bool running) = 0;
};

} // namespace kesto
