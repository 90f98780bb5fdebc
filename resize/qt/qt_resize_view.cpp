#include "resize/qt/qt_resize_view.h"

#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace kesto {

namespace {

const char* const OrderProperty = "kestoResizeOrder";
const char* const NextOrderProperty = "kestoResizeNextOrder";
const char* const ContainerProperty = "kestoResizeContainer";

// Far beyond any screen, well inside int.
constexpr double MaxCoordinate = 1e7;
constexpr double MaxPointSize = 4096;

bool IsPlainContainer(const QWidget* widget) {
    const QMetaObject* meta = widget->metaObject();
    return meta == &QWidget::staticMetaObject || meta == &QFrame::staticMetaObject ||
           meta == &QGroupBox::staticMetaObject || widget->property(ContainerProperty).toBool();
}

void Collect(QWidget* container, std::vector<QWidget*>& found) {
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        found.push_back(widget);
        if (IsPlainContainer(widget))
            Collect(widget, found);
    }
}

std::optional<int> ToPixels(double value, bool allowNegative) {
    if (!std::isfinite(value) || std::abs(value) > MaxCoordinate || (!allowNegative && value < 0))
        return std::nullopt;
    return static_cast<int>(std::lround(value));
}

} // namespace

ControlKind QtResizeControlView::Kind() const {
    return ControlKind::Other;
}

std::optional<bool> QtResizeControlView::ContainerIsPaged() const {
    if (!m_widget->parentWidget())
        return std::nullopt;
    return false;
}

bool QtResizeControlView::PlacedByLayout() const {
    QWidget* parent = m_widget->parentWidget();
    return parent && parent->layout();
}

std::optional<double> QtResizeControlView::Get(ControlProperty property) const {
    const QRect geometry = m_widget->geometry();
    switch (property) {
    case ControlProperty::Left:
        return geometry.x();
    case ControlProperty::Top:
        return geometry.y();
    case ControlProperty::Width:
        return geometry.width();
    case ControlProperty::Height:
        return geometry.height();
    case ControlProperty::FontSize: {
        double size = m_widget->font().pointSizeF();
        if (size > 0)
            return size;
        return std::nullopt;
    }
    default:
        return std::nullopt; // no lines here
    }
}

bool QtResizeControlView::Set(ControlProperty property, double value) {
    if (property == ControlProperty::FontSize) {
        if (!std::isfinite(value) || value <= 0 || value > MaxPointSize ||
            m_widget->font().pointSizeF() <= 0)
            return false;
        QFont font = m_widget->font();
        font.setPointSizeF(value);
        m_widget->setFont(font);
        return true;
    }
    if (PlacedByLayout())
        return false;
    const QRect geometry = m_widget->geometry();
    switch (property) {
    case ControlProperty::Left:
        if (auto x = ToPixels(value, true)) {
            m_widget->move(*x, geometry.y());
            return true;
        }
        return false;
    case ControlProperty::Top:
        if (auto y = ToPixels(value, true)) {
            m_widget->move(geometry.x(), *y);
            return true;
        }
        return false;
    case ControlProperty::Width:
        if (auto width = ToPixels(value, false)) {
            m_widget->resize(*width, geometry.height());
            return true;
        }
        return false;
    case ControlProperty::Height:
        if (auto height = ToPixels(value, false)) {
            m_widget->resize(geometry.width(), *height);
            return true;
        }
        return false;
    default:
        return false;
    }
}

QtResizeWindowView::QtResizeWindowView(QWidget* window) : m_window(window) {
    std::vector<QWidget*> widgets;
    Collect(window, widgets);
    // Number the widgets seen for the first time after all the others.
    qlonglong next = window->property(NextOrderProperty).toLongLong();
    for (QWidget* widget : widgets)
        if (!widget->property(OrderProperty).isValid())
            widget->setProperty(OrderProperty, next++);
    window->setProperty(NextOrderProperty, next);
    std::stable_sort(widgets.begin(), widgets.end(), [](const QWidget* a, const QWidget* b) {
        return a->property(OrderProperty).toLongLong() < b->property(OrderProperty).toLongLong();
    });
    m_controls.reserve(widgets.size());
    for (QWidget* widget : widgets)
        m_controls.push_back(std::make_unique<QtResizeControlView>(widget));
}

std::optional<double> QtResizeWindowView::ScaleWidth() const {
    return m_window->width();
}

std::optional<double> QtResizeWindowView::ScaleHeight() const {
    return m_window->height();
}

int QtResizeWindowView::Count() const {
    return static_cast<int>(m_controls.size());
}

ControlView* QtResizeWindowView::Control(int index) {
    if (index < 0 || index >= Count())
        return nullptr;
    return m_controls[static_cast<size_t>(index)].get();
}

} // namespace kesto
