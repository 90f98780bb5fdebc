#pragma once
// The two charts of a race as Qt Charts objects, drawn alike on the screen,
// on the printed page and in the SVG of the live board:
//  - the lap-time chart: lap number across, lap time up, a line per car in
//    its colour; crash laps marked with a triangle, the best lap with a star;
//  - the lap chart: position after each lap, the leader at the top, so an
//    overtake is a crossing.
// Every series carries the key of its car, so a car can be switched off in
// both charts at once.

#include "reports/race_charts.h"

#include <QColor>
#include <QSet>
#include <QString>

#include <memory>

class QAbstractSeries;
class QChart;

namespace kesto {

struct ChartLook {
    // The slow crash laps left out, so the lap-time scale shows the racing.
    bool hideCrashLaps = false;
    QSet<QString> hiddenCars; // CarKey of the cars switched off
    // For paper: a white ground (a dark one costs a page of ink) and the pale
    // car colours darkened so they show on it.
    bool onPaper = false;
};

// A car's colour from its Windows colour value (red in the low byte).
QColor CarColor(int32_t windowsColor);
// What names a car across rebuilds: its ID, or its name when a file gives no ID.
QString CarKey(const CarChart& car);
// The key of the car a series draws.
QString SeriesCarKey(const QAbstractSeries* series);
// The legend text of a car: its name, else "ID n".
QString CarLabel(const CarChart& car);

std::unique_ptr<QChart> MakeLapTimeChart(const RaceCharts& charts, const ChartLook& look);
std::unique_ptr<QChart> MakeLapChart(const RaceCharts& charts, const ChartLook& look);

// Shows or hides a car's series; its legend entry stays, dimmed while hidden.
void ShowCar(QChart* chart, const QString& carKey, bool visible);

} // namespace kesto
