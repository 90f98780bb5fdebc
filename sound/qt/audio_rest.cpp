#include "sound/qt/audio_rest.h"

#include <QTimer>

#include <chrono>

namespace kesto {

void RestAudioBetweenRaces(QObject& owner, AudioDevice& device, std::function<bool()> raceRuns) {
    using namespace std::chrono_literals;
    auto* look = new QTimer(&owner);
    look->setTimerType(Qt::VeryCoarseTimer);
    QObject::connect(look, &QTimer::timeout, &owner, [&device, raceRuns = std::move(raceRuns)] {
        if (!raceRuns())
            device.RestIfQuiet();
    });
    look->start(5s);
}

} // namespace kesto
