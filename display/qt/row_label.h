#pragma once
// One cell of a race-screen row: an opaque label painted in its car's colour.
// It draws its own background and text, so a refresh that moves a car to
// another row costs two stored values and a repaint, not a palette change
// (which Qt propagates and re-resolves for every label, every tick).

#include <QColor>
#include <QString>
#include <QWidget>

namespace kesto {

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
    QString m_text;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor m_background = Qt::black;
    QColor m_foreground = Qt::white;
};

} // namespace kesto
