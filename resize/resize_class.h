#pragma once
// Resize_Class: "Resize Controls - Resize all controls on the screen".
// Records once where every control of a window sits and how large its text
// is, relative to the window's inner size, and on every later resize moves,
// stretches and re-fonts the controls so the layout keeps its design
// proportions. Positions and sizes follow each direction on its own; text
// follows the tighter of the two. The ratios are taken once, so repeated
// resizing never accumulates rounding.
//
// A window owns one instance for its lifetime: InitResizeClass in its load,
// ResizeControls from every resize event. The instance keeps only numbers,
// never the window.

#include "resize/resize_view.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kesto {

// One record per control, six ratios whose meaning depends on the control:
//   field  line                      other control
//   1      X1 / ScaleWidth           Width / ScaleWidth
//   2      X2 / ScaleWidth           Height / ScaleHeight
//   3      Y1 / ScaleHeight          Top / ScaleHeight
//   4      Y2 / ScaleHeight          Left / ScaleWidth (parked: (Left + 75000) / ScaleWidth)
//   5      BorderWidth / ScaleWidth  font Size / ScaleWidth
//   6      BorderWidth / ScaleHeight font Size / ScaleHeight
// Field n is element n - 1. A ratio that cannot be taken stays 0.
using ControlRatios = std::array<double, 6>;

// How far a paged container moves the controls it does not show, and the
// Left below which a control in such a container counts as parked.
inline constexpr double ParkOffset = 75000;
inline constexpr double ParkedBelow = -7777;

class Resize_Class final {
public:
    Resize_Class();

    // Records the window's current layout as its design layout (replacing any
    // earlier record).
    void InitResizeClass(WindowView& FRM);
    // Applies the recorded layout to the window's current inner size; on an
    // instance that has recorded nothing yet it only records.
    void ResizeControls(WindowView& FRM);

    bool Initialised() const { return m_initialised; }
    int32_t LastScaleWidth() const { return m_lastScaleWidth; }
    int32_t LastScaleHeight() const { return m_lastScaleHeight; }
    const std::vector<ControlRatios>& Ratios() const { return m_ratios; }

private:
    void RecordControl(ControlView& control, ControlRatios& ratios, double width, double height);
    void ApplyControl(ControlView& control, const ControlRatios& ratios, double width,
                      double height);

    bool m_initialised = false;
    int32_t m_lastScaleWidth = 0;
    int32_t m_lastScaleHeight = 0;
    std::vector<ControlRatios> m_ratios;
};

} // namespace kesto
