#include "resize/resize_class.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kesto {

namespace {

// Element indexes of ControlRatios.
enum Field : size_t { F1 = 0, F2, F3, F4, F5, F6 };

// The window sizes are kept as whole numbers; a size that does not fit is kept as 0.
int32_t RoundSize(double size) {
    if (!std::isfinite(size) || size < std::numeric_limits<int32_t>::min() ||
        size > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(std::lround(size));
}

// value / size, or nothing when either is missing or the ratio cannot be taken.
std::optional<double> Ratio(std::optional<double> value, double size) {
    if (!value || size == 0)
        return std::nullopt;
    double ratio = *value / size;
    if (!std::isfinite(ratio))
        return std::nullopt;
    return ratio;
}

void Store(std::optional<double> ratio, double& field) {
    if (ratio)
        field = *ratio;
}

bool IsParked(const ControlView& control, std::optional<double> left) {
    std::optional<bool> paged = control.ContainerIsPaged();
    return paged && *paged && left && *left < ParkedBelow;
}

bool IsUsableSize(std::optional<double> size) {
    return size && std::isfinite(*size) && *size > 0;
}

} // namespace

Resize_Class::Resize_Class() = default;

void Resize_Class::InitResizeClass(WindowView& FRM) {
    int count = std::max(FRM.Count(), 0);
    m_ratios.assign(static_cast<size_t>(count), ControlRatios{});

    std::optional<double> readWidth = FRM.ScaleWidth();
    std::optional<double> readHeight = FRM.ScaleHeight();
    double width = readWidth.value_or(0);
    double height = readHeight.value_or(0);
    m_lastScaleWidth = RoundSize(width);
    m_lastScaleHeight = RoundSize(height);

    for (int i = 0; i < count; ++i)
        if (ControlView* control = FRM.Control(i))
            RecordControl(*control, m_ratios[static_cast<size_t>(i)], width, height);

    // A window without an inner size (minimised, not laid out yet) has no
    // proportions to record: ratios taken from it would shrink every control
    // to nothing at the next resize. Stay uninitialised so the first resize
    // with a real size records the layout instead.
    m_initialised = IsUsableSize(readWidth) && IsUsableSize(readHeight);
}

void Resize_Class::RecordControl(ControlView& control, ControlRatios& ratios, double width,
                                 double height) {
    if (control.Kind() == ControlKind::Line) {
        Store(Ratio(control.Get(ControlProperty::X1), width), ratios[F1]);
        Store(Ratio(control.Get(ControlProperty::X2), width), ratios[F2]);
        Store(Ratio(control.Get(ControlProperty::Y1), height), ratios[F3]);
        Store(Ratio(control.Get(ControlProperty::Y2), height), ratios[F4]);
        std::optional<double> border = control.Get(ControlProperty::BorderWidth);
        Store(Ratio(border, width), ratios[F5]);
        Store(Ratio(border, height), ratios[F6]);
        return;
    }
    std::optional<double> left = control.Get(ControlProperty::Left);
    if (IsParked(control, left))
        *left += ParkOffset;
    Store(Ratio(left, width), ratios[F4]);
    Store(Ratio(control.Get(ControlProperty::Width), width), ratios[F1]);
    Store(Ratio(control.Get(ControlProperty::Height), height), ratios[F2]);
    Store(Ratio(control.Get(ControlProperty::Top), height), ratios[F3]);
    if (std::optional<double> size = control.Get(ControlProperty::FontSize)) {
        Store(Ratio(size, height), ratios[F6]);
        Store(Ratio(size, width), ratios[F5]);
    }
}

void Resize_Class::ResizeControls(WindowView& FRM) {
    if (!m_initialised) {
        InitResizeClass(FRM);
        return;
    }
    std::optional<double> readWidth = FRM.ScaleWidth();
    std::optional<double> readHeight = FRM.ScaleHeight();
    if (!readWidth || !readHeight || !std::isfinite(*readWidth) || !std::isfinite(*readHeight))
        return;
    double width = *readWidth;
    double height = *readHeight;
    if (RoundSize(height) == m_lastScaleHeight && RoundSize(width) == m_lastScaleWidth)
        return;
    m_lastScaleHeight = RoundSize(height);
    m_lastScaleWidth = RoundSize(width);

    // Controls added after the layout was recorded have no record and stay as they are.
    int count = std::min(FRM.Count(), static_cast<int>(m_ratios.size()));
    for (int i = 0; i < count; ++i)
        if (ControlView* control = FRM.Control(i))
            ApplyControl(*control, m_ratios[static_cast<size_t>(i)], width, height);
}

void Resize_Class::ApplyControl(ControlView& control, const ControlRatios& ratios, double width,
                                double height) {
    if (control.Kind() == ControlKind::Line) {
        control.Set(ControlProperty::X1, width * ratios[F1]);
        control.Set(ControlProperty::X2, width * ratios[F2]);
        control.Set(ControlProperty::Y1, height * ratios[F3]);
        control.Set(ControlProperty::Y2, height * ratios[F4]);
        control.Set(ControlProperty::BorderWidth,
                    std::min(height * ratios[F6], width * ratios[F5]));
        return;
    }
    std::optional<double> left = control.Get(ControlProperty::Left);
    if (IsParked(control, left)) {
        // Bring it back, place it, park it again.
        control.Set(ControlProperty::Left, *left + ParkOffset);
        control.Set(ControlProperty::Left, width * ratios[F4]);
        if (std::optional<double> placed = control.Get(ControlProperty::Left))
            control.Set(ControlProperty::Left, *placed - ParkOffset);
    } else {
        control.Set(ControlProperty::Left, width * ratios[F4]);
    }
    control.Set(ControlProperty::Top, height * ratios[F3]);
    control.Set(ControlProperty::Height, height * ratios[F2]);
    control.Set(ControlProperty::Width, width * ratios[F1]);
    if (control.Get(ControlProperty::FontSize))
        control.Set(ControlProperty::FontSize, std::min(height * ratios[F6], width * ratios[F5]));
}

} // namespace kesto
