#include "display/qt/row_label.h"

#include <QPainter>

namespace kesto {

RowLabel::RowLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RowLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void RowLabel::setAlignment(Qt::Alignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

void RowLabel::setColors(const QColor& background, const QColor& text) {
    if (background == m_background && text == m_foreground)
        return;
    m_background = background;
    m_foreground = text;
    update();
}

void RowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    painter.setPen(m_foreground);
    painter.setFont(font());
    // The text may be wider than its cell (a long name, a large font): it is
    // clipped at the cell's edges, as an opaque label's would be.
    painter.drawText(rect(), static_cast<int>(m_alignment) | Qt::TextSingleLine, m_text);
}

} // namespace kesto
