#include "display/qt/row_label.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <tuple>

namespace kesto {

RowLabel::RowLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RowLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    m_laidOutValid = false;
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

void RowLabel::Refit() {
    if (m_fittedFor == font() && m_fittedHeight == height())
        return;
    m_fittedFor = font();
    m_fittedHeight = height();
    m_fitted = FitRowText(font(), height());
    m_laidOutValid = false;
}

void RowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    painter.setPen(m_foreground);
    Refit();
    painter.setFont(m_fitted.font);
    if (!m_laidOutValid) {
        m_laidOut.setTextFormat(Qt::PlainText);
        m_laidOut.setText(m_text);
        m_laidOut.prepare(QTransform(), m_fitted.font);
        m_laidOutValid = true;
    }
    // The text may be wider than its cell (a long name): it is clipped at the
    // cell's edges, as an opaque label's would be. Its height always fits:
    // centred as a single line is, or on the fitted baseline.
    const QFontMetricsF metrics(m_fitted.font);
    const qreal top = m_fitted.baseline ? *m_fitted.baseline - metrics.ascent()
                                        : (height() - metrics.height()) / 2;
    const qreal room = width() - m_laidOut.size().width();
    const Qt::Alignment horizontal = m_alignment & Qt::AlignHorizontal_Mask;
    const qreal left = horizontal & Qt::AlignRight     ? room
                       : horizontal & Qt::AlignHCenter ? room / 2
                                                       : 0;
    painter.drawStaticText(QPointF(left, top), m_laidOut);
}

namespace {

// The letters that reach furthest: capitals above the line, descenders below.
const QString InkSample = QStringLiteral("Hgjpqy");

// Top and bottom of the sample's ink, from the baseline (top negative).
std::pair<qreal, qreal> InkExtent(const QFont& font) {
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(InkSample);
    return {ink.top(), ink.bottom()};
}

} // namespace

FittedRowText FitRowText(const QFont& font, int cellHeight) {
    const QFontMetricsF metrics(font);
    auto [top, bottom] = InkExtent(font);
    // Where a vertically centred line puts its baseline; half a pixel of
    // anti-aliasing outside the cell is no clipping.
    const qreal centredBaseline = (cellHeight - metrics.height()) / 2 + metrics.ascent();
    if (centredBaseline + top >= -0.5 && centredBaseline + bottom <= cellHeight + 0.5)
        return {font, std::nullopt};
    // Too tall: the letters are centred with a pixel to spare above and
    // below, at the largest size that leaves it.
    const qreal room = std::max(1, cellHeight - 2);
    QFont fitted = font;
    while (bottom - top > room && fitted.pointSizeF() > 1) {
        fitted.setPointSizeF(std::max(1.0, fitted.pointSizeF() * room / (bottom - top) - 0.25));
        std::tie(top, bottom) = InkExtent(fitted);
    }
    return {fitted, (cellHeight - (bottom - top)) / 2 - top};
}

} // namespace kesto
