#pragma once
// frmHits, the hits table: ID, Hits, Min and Max for the 14 IDs. Min and Max
// show each car's shortest and longest counted lap of the current race and
// follow the race while the window is open; nothing in the timer fills the
// Hits cells. Opened from "Hits" of the View Data menu without blocking.

#include "engine/race_state.h"

#include <QWidget>

#include <array>

class QTableWidget;
class QTimer;

namespace kesto {

class FrmHits final : public QWidget {
    Q_OBJECT
public:
    static constexpr int RefreshIntervalMs = 500;

    // Without a race state the Min and Max cells stay empty.
    explicit FrmHits(QWidget* parent = nullptr);
    explicit FrmHits(const RaceState* state, QWidget* parent = nullptr);

    // The "Hits" menu command: brings the open window to the front, or shows
    // a new one without blocking (deleted when closed).
    static FrmHits* ShowModeless(QWidget* parent, const RaceState* state = nullptr);

    // Min and Max brought up to date with the race state.
    void RefreshLapRanges();

    QTableWidget* Grid() const { return m_grdHits; }
    QTimer* RefreshTimer() const { return m_timer; }

private:
    void SetCell(int row, int column, const std::string& text);

    const RaceState* m_state = nullptr;
    QTableWidget* m_grdHits = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace kesto
