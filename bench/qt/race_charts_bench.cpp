// The charts of a 14-car, 500-lap race: the data from the race state, the
// charts window rebuilt and painted (what the operator waits for once a second
// while laps come in), and both charts rendered as SVG for the live board.
#include "reports/qt/charts_window.h"
#include "reports/qt/race_charts_svg.h"
#include "reports/race_charts.h"
#include "reports/result_book.h"

#include <QCoreApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

namespace kesto {
namespace {

constexpr int Cars = 14;
constexpr int Laps = 500;

// Laps of about 5 s that differ from car to car and lap to lap, with a slow
// crash lap now and then, so the positions keep changing.
RaceState BigRace() {
    RaceState state;
    state.RaceFormatText = "500 Lap Race";
    state.Settings.FirstLapCount = 0;
    for (int id = 1; id <= Cars; ++id) {
        state.Names.IdName[id - 1] = "Racer " + std::to_string(id);
        state.Settings.IdColor[id - 1] = 0x0F0F0F * id;
        state.BestLapTime[id - 1] = NoBestLap;
        int32_t at = 0;
        for (int lap = 1; lap <= Laps; ++lap) {
            int32_t ms = 4800 + (id * 37 + lap * 53) % 400;
            if ((id + lap) % 31 == 0)
                ms += 6000;
            at += ms;
            state.LapTimes[id - 1][lap] = static_cast<float>(std::round(ms / 10.0) / 100);
            if (lap > 1 && ms < state.BestLapTime[id - 1])
                state.BestLapTime[id - 1] = ms;
        }
        state.LapCount[id - 1] = Laps;
        state.LastPassTime[id - 1] = at;
    }
    return state;
}

void BM_RaceCharts_Data(benchmark::State& bench) {
    const RaceState race = BigRace();
    for (auto _ : bench)
        benchmark::DoNotOptimize(ChartsOfRace(race));
}
BENCHMARK(BM_RaceCharts_Data)->Unit(benchmark::kMillisecond);

void BM_RaceCharts_WindowRebuildAndPaint(benchmark::State& bench) {
    const RaceState race = BigRace();
    ResultBook book;
    FrmCharts window(race, book);
    window.resize(1100, 820);
    window.show();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        window.Rebuild();
        QCoreApplication::sendPostedEvents(); // the charts' layout, as the event loop does it
        window.render(&image);
    }
}
BENCHMARK(BM_RaceCharts_WindowRebuildAndPaint)->Unit(benchmark::kMillisecond);

void BM_RaceCharts_Svg(benchmark::State& bench) {
    const RaceState race = BigRace();
    for (auto _ : bench)
        benchmark::DoNotOptimize(RenderRaceChartsSvg(ChartsOfRace(race)));
}
BENCHMARK(BM_RaceCharts_Svg)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kesto
