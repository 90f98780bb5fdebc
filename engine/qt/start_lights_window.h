#pragma once
// frmKestoFormula1: the four start lights. They turn red one a second, stay red
// for a random one to three seconds and turn green, which begins the timing on
// the main window; the window closes a second later. A click skips the red
// lights still to come.

#include "engine/race_context.h"
#include "engine/start_sequence.h"

#include <QColor>
#include <QDialog>
#include <QWidget>

#include <array>

class QTimer;

namespace kesto {

// One round light of the control array Shape1.
class StartLight final : public QWidget {
public:
    explicit StartLight(QWidget* parent = nullptr);
    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};

class FrmKestoFormula1 final : public QDialog {
    Q_OBJECT
public:
    FrmKestoFormula1(RaceContext& ctx, StartSequenceHost& host, QWidget* parent = nullptr);

    const StartLightsSequence& Sequence() const { return m_sequence; }
    QTimer* tmrRandom() const { return m_timer; }
    StartLight* Shape1(int index) const { return m_lights.at(static_cast<size_t>(index)); }

    // The colours of the lights: red 255 and green 65280 as Windows colour values.
    static QColor LightColorOf(LightColor light);

public slots:
    // One second of the lights (the timer's tick; tests call it directly).
    void tmrRandom_Timer();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // The lights cannot be closed before they have released the race.
    void reject() override {}

private:
    void ShowLights();

    StartLightsSequence m_sequence;
    std::array<StartLight*, 4> m_lights{};
    QTimer* m_timer;
};

} // namespace kesto
