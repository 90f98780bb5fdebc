#pragma once
// Both charts of a race as one SVG picture: the lap-time chart above the lap
// chart. The printed charts page draws it, and the live board's results page
// can serve it as it is (the text stays text, the lines stay lines).

#include "reports/qt/race_chart_pictures.h"
#include "reports/race_charts.h"

#include <QByteArray>
#include <QSize>

namespace kesto {

// `size` in SVG user units (pixels); each chart takes half the height.
QByteArray RenderRaceChartsSvg(const RaceCharts& charts, QSize size = QSize(1600, 1200),
                               const ChartLook& look = {});

} // namespace kesto
