#pragma once
// Presents a QWidget window to Resize_Class. Units are pixels; the window's
// inner size is its client area (width() and height()).
//
// Controls are the widgets of the window, in a fixed order: the order in
// which this adapter first saw them (kept in a dynamic property), so widgets
// raised, lowered or added later never shift the positions the resizer
// recorded; a widget added later comes after all the others.
//
// Which widgets count as controls: every widget of the window (not popups or
// other windows) reached through plain containers. The adapter looks inside
// the window itself and inside widgets of exactly the classes QWidget, QFrame
// and QGroupBox, or any widget with the property "kestoResizeContainer" set
// to true. A composite widget (a table, a scroll area, a combo box, a spin
// box, a tab widget) is one control; its inner parts are its own business,
// as a grid's scroll bars were never controls of their own.
//
// Properties: Left, Top, Width and Height are the geometry relative to the
// parent widget. A widget that a layout places (its parent has a layout)
// refuses geometry changes: the layout owns them. FontSize is the font's
// point size (QFont::pointSizeF); a widget whose font is sized in pixels has
// no font size for the resizer. Qt has no paged container that parks widgets
// off to the left, so no control is parked. A QFrame drawn as a horizontal
// or vertical line is presented as an ordinary rectangle: its box stretches
// with the window while its drawn line keeps its thickness.

#include "resize/resize_view.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace kesto {

class QtResizeControlView final : public ControlView {
public:
    explicit QtResizeControlView(QWidget* widget) : m_widget(widget) {}
    ControlKind Kind() const override;
    std::optional<bool> ContainerIsPaged() const override;
    std::optional<double> Get(ControlProperty property) const override;
    bool Set(ControlProperty property, double value) override;

    QWidget* Widget() const { return m_widget; }

private:
    bool PlacedByLayout() const;
    QWidget* m_widget;
};

class QtResizeWindowView final : public WindowView {
public:
    // The window must outlive the view; make a fresh view for each call.
    explicit QtResizeWindowView(QWidget* window);
    std::optional<double> ScaleWidth() const override;
    std::optional<double> ScaleHeight() const override;
    int Count() const override;
    ControlView* Control(int index) override;

private:
    QWidget* m_window;
    std::vector<std::unique_ptr<QtResizeControlView>> m_controls;
};

} // namespace kesto
