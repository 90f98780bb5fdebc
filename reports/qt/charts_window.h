#pragma once
// frmCharts, "Charts": the lap-time chart above the lap chart, of the race or
// of the .lap file the reports have open. Opened from "Charts" of the View
// Data menu without blocking. While it is shown it follows the race on a
// timer of its own, once a second, and rebuilds the charts only when a lap or
// a name changed; the race timer's tick never waits for it. Clicking a car's
// legend entry switches the car off or on in both charts; "Hide Crash Laps"
// leaves the slow crash laps out so the lap-time scale shows the racing.

#include "reports/qt/race_chart_pictures.h"
#include "reports/race_charts.h"

#include <QTimer>
#include <QWidget>

#include <optional>
#include <string>

class QChartView;
class QCheckBox;
class QLabel;
class QPushButton;

namespace kesto {

class ResultBook;

class FrmCharts final : public QWidget {
    Q_OBJECT
public:
    static constexpr int FollowIntervalMs = 1000;
    static constexpr int SmoothLinesUpToLap = 100;

    FrmCharts(const RaceState& state, ResultBook& book, QWidget* parent = nullptr);

    // The timer's step: rebuilds when the race or the shown file changed.
    void Follow();
    // Builds both charts again from what the reports show now.
    void Rebuild();
    void ToggleCar(const QString& carKey);

    int Rebuilds() const { return m_rebuilds; }
    QChartView* LapTimesView() const { return m_lapTimes; }
    QChartView* LapChartView() const { return m_lapChart; }
    QCheckBox* HideCrashLapsBox() const { return m_hideCrashLaps; }
    QPushButton* ShowRaceButton() const { return m_showRace; }
    const QTimer& FollowTimer() const { return m_follow; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Shown {
        RaceChartsStamp race;
        std::string file;
        bool operator==(const Shown&) const = default;
    };
    Shown Now() const;
    void ConnectLegend(QChartView* view);

    const RaceState& m_state;
    ResultBook& m_book;
    QCheckBox* m_hideCrashLaps;
    QLabel* m_source;
    QPushButton* m_showRace;
    QChartView* m_lapTimes;
    QChartView* m_lapChart;
    QTimer m_follow;
    ChartLook m_look;
    std::optional<Shown> m_shown;
    int m_rebuilds = 0;
};

} // namespace kesto
