#pragma once
// frmRejectedPasses, "Rejected Passes": the detections lap counting dropped
// in the current race (too soon after the car's last lap, or after a lap
// race's distance), newest last, read-only. Opened from "Rejected Passes" of
// the View Data menu without blocking, during or after a race; it follows the
// race by itself while open. At most one is open.

#include "display/rejected_passes_rows.h"
#include "engine/race_state.h"

#include <QWidget>

#include <array>
#include <cstddef>
#include <string>

class QLabel;
class QTableWidget;
class QTimer;

namespace kesto {

class FrmRejectedPasses final : public QWidget {
    Q_OBJECT
public:
    static constexpr int RefreshIntervalMs = 500;

    explicit FrmRejectedPasses(const RaceState& state, QWidget* parent = nullptr);

    // The menu command: brings the open window to the front, or shows a new
    // one (deleted when closed).
    static FrmRejectedPasses* ShowModeless(const RaceState& state, QWidget* parent);

    // Brings the table up to date with the race state: new passes are added
    // at the bottom, a reset empties it. Does nothing when nothing changed.
    void Refresh();

    QTableWidget* Grid() const { return m_grid; }
    QLabel* Footer() const { return m_footer; }
    QTimer* RefreshTimer() const { return m_timer; }

private:
    bool ShownRowsStillKept() const;
    void AppendRows(std::size_t from, std::size_t to);

    const RaceState& m_state;
    QTableWidget* m_grid = nullptr;
    QLabel* m_footer = nullptr;
    QTimer* m_timer = nullptr;

    // What the table shows, so a refresh only adds what is new.
    std::size_t m_shownRows = 0;
    RejectedPass m_lastShown{};
    std::array<std::string, MaxCarIds> m_shownNames{};
};

} // namespace kesto
