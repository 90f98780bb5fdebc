#pragma once
// The charts of a race as SVG pictures: both in one, the lap-time chart above
// the lap chart (the printed charts page), or each on its own (the live
// board's results page). The text stays text, the lines stay lines.

#include "reports/qt/race_chart_pictures.h"
#include "reports/race_charts.h"

#include <QByteArray>
#include <QSize>

namespace kesto {

// `size` in SVG user units (pixels); each chart takes half the height.
QByteArray RenderRaceChartsSvg(const RaceCharts& charts, QSize size = QSize(1600, 1200),
                               const ChartLook& look = {});

// One chart filling `size`, for a browser (its text in a face it has).
QByteArray RenderLapTimeChartSvg(const RaceCharts& charts, QSize size = QSize(1200, 600));
QByteArray RenderLapChartSvg(const RaceCharts& charts, QSize size = QSize(1200, 600));

} // namespace kesto
