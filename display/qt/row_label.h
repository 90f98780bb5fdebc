#pragma once
// One cell of a race-screen row: an opaque label painted in its car's colour.
// It draws its own background and text, so a refresh that moves a car to
// another row costs two stored values and a repaint, not a palette change
// (which Qt propagates and re-resolves for every label, every tick). Its text
// is laid out once when it (or the font) changes, not on every paint.

#include <QColor>
#include <QFont>
#include <QStaticText>
#include <QString>
#include <QWidget>

#include <optional>

namespace kesto {

// The font a row cell of `cellHeight` pixels paints its text in: the cell's
// own while a centred line keeps every letter inside the cell; otherwise the
// largest size whose letters (capitals, descenders) fit with a pixel to
// spare, and the baseline that centres them. The row text sizes of F9 go beyond what the
// rows of a small window can hold; the text never loses its descenders.
struct FittedRowText {
    QFont font;
    std::optional<qreal> baseline; // none: the line centred as usual
};
FittedRowText FitRowText(const QFont& font, int cellHeight);

class RowLabel final : public QWidget {
    Q_OBJECT
public:
    explicit RowLabel(QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    // Repaints only when the text changes.
    void setText(const QString& text);

    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);

    QColor backgroundColor() const { return m_background; }
    QColor textColor() const { return m_foreground; }
    // Repaints only when a colour changes.
    void setColors(const QColor& background, const QColor& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Refit();

    FittedRowText m_fitted;
    QStaticText m_laidOut; // m_text in m_fitted.font
    bool m_laidOutValid = false;
    QFont m_fittedFor;
    int m_fittedHeight = -1;
    QString m_text;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor m_background = Qt::black;
    QColor m_foreground = Qt::white;
};

} // namespace kesto
