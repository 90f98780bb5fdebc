#include "reports/qt/race_chart_pictures.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kesto {
namespace {

const char* const CarKeyProperty = "kestoCarKey";

// A tick interval of 1, 2 or 5 times a power of ten giving about `ticks` ticks.
double NiceStep(double span, int ticks, double smallest) {
    const double raw = std::max(span / ticks, smallest);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * magnitude >= raw - 1e-9)
            return factor * magnitude;
    return 10 * magnitude;
}

std::unique_ptr<QChart> NewChart(const QString& title, const ChartLook& look) {
    auto chart = std::make_unique<QChart>();
    // Dark behind the lines on screen: the car colours include white and pale yellow.
    chart->setTheme(look.onPaper ? QChart::ChartThemeLight : QChart::ChartThemeDark);
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

QValueAxis* LapAxis(const RaceCharts& charts) {
    int first = charts.LastLap();
    for (const CarChart& car : charts.cars)
        if (!car.laps.empty())
            first = std::min(first, car.laps.front().lap);
    const int last = std::max(charts.LastLap(), first + 1);
    auto* axis = new QValueAxis;
    axis->setTitleText(QStringLiteral("Lap"));
    axis->setRange(first, last);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(NiceStep(last - first, 12, 1));
    return axis;
}

void Attach(QChart* chart, QAbstractSeries* series, const CarChart& car, QValueAxis* x,
            QValueAxis* y) {
    series->setProperty(CarKeyProperty, CarKey(car));
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// A car's line colour on this ground.
QColor LineColor(const CarChart& car, const ChartLook& look) {
    const QColor color = CarColor(car.color);
    return look.onPaper && color.lightness() > 170 ? color.darker(170) : color;
}

QScatterSeries* Marks(const CarChart& car, const ChartLook& look, QScatterSeries::MarkerShape shape,
                      double size) {
    auto* marks = new QScatterSeries;
    marks->setName(CarLabel(car));
    marks->setMarkerShape(shape);
    marks->setMarkerSize(size);
    marks->setColor(LineColor(car, look));
    marks->setBorderColor(look.onPaper ? QColor(Qt::black) : QColor(Qt::white));
    return marks;
}

// Only the car lines have legend entries; the marks go with their line.
void LegendForLinesOnly(QChart* chart) {
    for (QLegendMarker* marker : chart->legend()->markers())
        if (marker->series()->type() != QAbstractSeries::SeriesTypeLine)
            marker->setVisible(false);
}

void ApplyHiddenCars(QChart* chart, const ChartLook& look) {
    for (const QString& key : look.hiddenCars)
        ShowCar(chart, key, false);
}

} // namespace

QColor CarColor(int32_t windowsColor) {
    return QColor(windowsColor & 0xFF, (windowsColor >> 8) & 0xFF, (windowsColor >> 16) & 0xFF);
}

QString CarKey(const CarChart& car) {
    return car.id > 0 ? QString::number(car.id) : QStringLiteral("name:") + CarLabel(car);
}

QString SeriesCarKey(const QAbstractSeries* series) {
    return series->property(CarKeyProperty).toString();
}

QString CarLabel(const CarChart& car) {
    if (!car.name.empty())
        return QString::fromStdString(car.name);
    return QStringLiteral("ID %1").arg(car.id);
}

std::unique_ptr<QChart> MakeLapTimeChart(const RaceCharts& charts, const ChartLook& look) {
    auto chart =
        NewChart(QStringLiteral("Lap Times, ") + QString::fromStdString(charts.caption), look);
    QValueAxis* x = LapAxis(charts);
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("Lap time (s)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    double low = 0;
    double high = 0;
    bool any = false;
    for (const CarChart& car : charts.cars) {
        QList<QPointF> line;
        QList<QPointF> crashes;
        QList<QPointF> best;
        line.reserve(static_cast<qsizetype>(car.laps.size()));
        for (const ChartLap& lap : car.laps) {
            const QPointF point(lap.lap, lap.seconds);
            if (lap.crash) {
                if (look.hideCrashLaps)
                    continue;
                crashes.append(point);
            }
            if (lap.lap == car.bestLap)
                best.append(point);
            line.append(point);
            low = any ? std::min(low, point.y()) : point.y();
            high = any ? std::max(high, point.y()) : point.y();
            any = true;
        }
        auto* series = new QLineSeries;
        series->setName(CarLabel(car));
        QPen pen(LineColor(car, look));
        pen.setWidthF(2);
        series->setPen(pen);
        series->replace(line);
        Attach(chart.get(), series, car, x, y);
        if (!crashes.isEmpty()) {
            QScatterSeries* marks = Marks(car, look, QScatterSeries::MarkerShapeTriangle, 11);
            marks->replace(crashes);
            Attach(chart.get(), marks, car, x, y);
        }
        if (!best.isEmpty()) {
            QScatterSeries* marks = Marks(car, look, QScatterSeries::MarkerShapeStar, 18);
            marks->replace(best);
            Attach(chart.get(), marks, car, x, y);
        }
    }
    const double pad = std::max((high - low) * 0.05, 0.1);
    const double bottom = std::max(0.0, std::floor((low - pad) * 10) / 10);
    const double top = std::ceil((high + pad) * 10) / 10;
    y->setRange(bottom, std::max(top, bottom + 1));
    y->setLabelFormat(QStringLiteral("%.1f"));
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(NiceStep(y->max() - y->min(), 8, 0.1));
    LegendForLinesOnly(chart.get());
    ApplyHiddenCars(chart.get(), look);
    return chart;
}

std::unique_ptr<QChart> MakeLapChart(const RaceCharts& charts, const ChartLook& look) {
    auto chart =
        NewChart(QStringLiteral("Lap Chart, ") + QString::fromStdString(charts.caption), look);
    QValueAxis* x = LapAxis(charts);
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("Position"));
    const int field = std::max(charts.MaxPosition(), 1);
    y->setRange(0.5, field + 0.5);
    y->setReverse(true); // the leader at the top
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(1);
    y->setTickInterval(1);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    // Points on the lines while each lap can still be told apart.
    const bool points = charts.LastLap() <= 60;
    for (const CarChart& car : charts.cars) {
        QList<QPointF> line;
        line.reserve(static_cast<qsizetype>(car.positions.size()));
        for (const ChartPosition& p : car.positions)
            line.append(QPointF(p.lap, p.position));
        auto* series = new QLineSeries;
        series->setName(CarLabel(car));
        QPen pen(LineColor(car, look));
        pen.setWidthF(2.5);
        series->setPen(pen);
        series->setPointsVisible(points);
        series->replace(line);
        Attach(chart.get(), series, car, x, y);
    }
    LegendForLinesOnly(chart.get());
    ApplyHiddenCars(chart.get(), look);
    return chart;
}

void ShowCar(QChart* chart, const QString& carKey, bool visible) {
    for (QAbstractSeries* series : chart->series())
        if (SeriesCarKey(series) == carKey)
            series->setVisible(visible);
    // Hiding a series hides its legend entry too: keep the entry, dimmed.
    for (QLegendMarker* marker : chart->legend()->markers()) {
        if (SeriesCarKey(marker->series()) != carKey ||
            marker->series()->type() != QAbstractSeries::SeriesTypeLine)
            continue;
        marker->setVisible(true);
        QColor label = chart->legend()->labelColor();
        label.setAlphaF(visible ? 1.0 : 0.4);
        marker->setLabelBrush(label);
        QColor swatch = qobject_cast<QLineSeries*>(marker->series())->color();
        swatch.setAlphaF(visible ? 1.0 : 0.25);
        marker->setBrush(swatch);
        marker->setPen(QPen(swatch));
    }
    LegendForLinesOnly(chart); // a shown series shows its legend entry again
}

} // namespace kesto
