#pragma once
// How a window presents itself to the proportional resizer (Resize_Class):
// its inner size and its controls in a fixed order, each control a handful of
// named geometric properties. The resizer knows nothing else about windows,
// so this library needs no GUI toolkit; each toolkit provides an adapter.
//
// Any property read or write may fail (the control lacks it, or refuses the
// value); the resizer then leaves that one step out and carries on.

#include <optional>

namespace kesto {

enum class ControlKind {
    Line, // a straight line between (X1, Y1) and (X2, Y2), BorderWidth thick
    Other // anything with Left, Top, Width, Height and perhaps a font
};

enum class ControlProperty {
    // Other controls
    Left,
    Top,
    Width,
    Height,
    FontSize, // the font's point size; fails for a control without a font
    // Lines
    X1,
    Y1,
    X2,
    Y2,
    BorderWidth,
};

class ControlView {
public:
    virtual ~ControlView() = default;
    virtual ControlKind Kind() const = 0;
    // True when the control's container is a paged container, which parks the
    // controls it does not show 75000 units to the left. Nothing when the
    // control has no container.
    virtual std::optional<bool> ContainerIsPaged() const = 0;
    virtual std::optional<double> Get(ControlProperty property) const = 0;
    // False when the control lacks the property or refuses the value.
    virtual bool Set(ControlProperty property, double value) = 0;
};

class WindowView {
public:
    virtual ~WindowView() = default;
    // The inner (client) size in the window's own units.
    virtual std::optional<double> ScaleWidth() const = 0;
    virtual std::optional<double> ScaleHeight() const = 0;
    // Every control of the window, positions 0 to Count() - 1, always in the
    // same order. Control() may return null for a position it cannot present.
    virtual int Count() const = 0;
    virtual ControlView* Control(int index) = 0;
};

} // namespace kesto
