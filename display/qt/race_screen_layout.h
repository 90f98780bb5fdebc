#pragma once
// The controls of the race screen at their design places: 14 rows of six
// cells and a name list each, the header line, and the panel on the right
// (logo, flag, "Race  Over", clock, "Demo", Start) with the decoder link's
// alarm banner over the top rows. Geometry is given in twips (1/1440 inch)
// and placed at the screen's resolution; the names are the controls' own.

#include "display/qt/row_label.h"
#include "engine/race_state.h"

#include <QString>

#include <array>
#include <filesystem>

class QComboBox;
class QLabel;
class QObject;
class QPushButton;
class QWidget;

namespace kesto {

// Pixels of a length in twips at the widget's resolution, and back.
int TwipsToPixels(const QWidget* widget, double twips);
double PixelsToTwips(const QWidget* widget, int pixels);

// The six cells of a row, in the order the rows are painted.
enum class Cell { Id, Name, LapNum, LapTime, Lag, Best };
inline constexpr int CellKinds = 6;

// The row (1..14) a row control belongs to; 0 for every other control.
int RowOf(const QObject* control);

QFont ArialBold(double pointSize);
void SetTextColor(QWidget* widget, const QColor& color);

struct RaceScreenControls {
    static constexpr int Rows = MaxCarIds;
    QWidget* canvas = nullptr; // the black client area all controls sit on

    // Row controls, index 1..14 (index 0 unused).
    std::array<std::array<RowLabel*, CellKinds>, Rows + 1> cells{};
    std::array<QComboBox*, Rows + 1> Select_Name{};

    QLabel* lblHeaderID = nullptr;
    QLabel* lblRaceFormat = nullptr;
    QLabel* lblLapNumber = nullptr;
    QLabel* lblLapTimeHeader = nullptr; // lblLapTime(0), the "Lap Time" header
    QLabel* lblLag = nullptr;
    QLabel* lblBestLap = nullptr;
    QLabel* imgLapmark = nullptr;
    QLabel* imgFlag = nullptr;
    QLabel* lblRaceOver = nullptr;
    QLabel* lblClock = nullptr;
    QLabel* lblDemo = nullptr;
    QLabel* lblLinkAlarm = nullptr;    // the decoder link's alarm banner
    QLabel* lblJournalAlarm = nullptr; // the race journal's, below it
    QPushButton* cmdStart = nullptr;

    RowLabel* CellLabel(int row, Cell cell) const { return cells[row][static_cast<int>(cell)]; }
};

// Builds the controls on a new canvas of `parent` at the design size.
// `events` watches every control (mouse, focus, resize); the logo is read
// from `programFolder`.
RaceScreenControls BuildRaceScreen(QWidget* parent, QObject* events,
                                   const std::filesystem::path& programFolder);

} // namespace kesto
