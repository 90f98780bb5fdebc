#include "reports/qt/charts_window.h"

#include "reports/result_book.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace kesto {

FrmCharts::FrmCharts(const RaceState& state, ResultBook& book, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_book(book) {
    setObjectName(QStringLiteral("frmCharts"));
    setWindowTitle(QStringLiteral("Charts"));

    m_hideCrashLaps = new QCheckBox(QStringLiteral("Hide Crash Laps"), this);
    m_hideCrashLaps->setObjectName(QStringLiteral("chkHideCrashLaps"));
    m_source = new QLabel(this);
    m_source->setObjectName(QStringLiteral("lblSource"));
    m_showRace = new QPushButton(QStringLiteral("Show the Race"), this);
    m_showRace->setObjectName(QStringLiteral("cmdShowRace"));
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_hideCrashLaps);
    bar->addStretch();
    bar->addWidget(m_source);
    bar->addWidget(m_showRace);

    auto makeView = [this](const char* name) {
        auto* view = new QChartView(new QChart, this);
        view->setObjectName(QLatin1String(name));
        view->setRenderHint(QPainter::Antialiasing);
        return view;
    };
    m_lapTimes = makeView("chartLapTimes");
    m_lapChart = makeView("chartLapChart");
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_lapTimes);
    splitter->addWidget(m_lapChart);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    resize(1100, 820);

    connect(m_hideCrashLaps, &QCheckBox::toggled, this, [this](bool hide) {
        m_look.hideCrashLaps = hide;
        Rebuild();
    });
    connect(m_showRace, &QPushButton::clicked, this, [this] {
        m_book.CloseLapFile();
        Rebuild();
    });
    m_follow.setInterval(FollowIntervalMs);
    connect(&m_follow, &QTimer::timeout, this, &FrmCharts::Follow);
}

FrmCharts::Shown FrmCharts::Now() const {
    return {StampOf(m_state), m_book.LapFile()};
}

void FrmCharts::Follow() {
    if (!m_shown || !(*m_shown == Now()))
        Rebuild();
}

void FrmCharts::Rebuild() {
    m_shown = Now();
    ++m_rebuilds;
    const RaceCharts charts = m_book.Charts(m_state);
    // Smooth lines cost more than they show on a long race's dense lines.
    const bool smooth = charts.LastLap() <= SmoothLinesUpToLap;
    for (auto [view, chart] : {std::pair{m_lapTimes, MakeLapTimeChart(charts, m_look).release()},
                               std::pair{m_lapChart, MakeLapChart(charts, m_look).release()}}) {
        QChart* old = view->chart();
        view->setChart(chart); // the view does not delete the chart it lets go
        delete old;
        view->setRenderHint(QPainter::Antialiasing, smooth);
        ConnectLegend(view);
    }
    const std::string& file = m_book.LapFile();
    m_source->setText(file.empty() ? QString()
                                   : QStringLiteral("File: ") + QString::fromStdString(file));
    m_showRace->setVisible(!file.empty());
}

void FrmCharts::ConnectLegend(QChartView* view) {
    for (QLegendMarker* marker : view->chart()->legend()->markers()) {
        const QString key = SeriesCarKey(marker->series());
        connect(marker, &QLegendMarker::clicked, this, [this, key] { ToggleCar(key); });
    }
}

void FrmCharts::ToggleCar(const QString& carKey) {
    const bool show = m_look.hiddenCars.contains(carKey);
    if (show)
        m_look.hiddenCars.remove(carKey);
    else
        m_look.hiddenCars.insert(carKey);
    ShowCar(m_lapTimes->chart(), carKey, show);
    ShowCar(m_lapChart->chart(), carKey, show);
}

void FrmCharts::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Follow();
    m_follow.start();
}

void FrmCharts::hideEvent(QHideEvent* event) {
    m_follow.stop();
    QWidget::hideEvent(event);
}

} // namespace kesto
