#pragma once
// frmKestoCountdown: counts the start delay down once a second before the start
// lights; pausable, and skipped by its button, a click, Enter or the space bar.

#include "engine/race_context.h"
#include "engine/start_sequence.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace kesto {

class FrmKestoCountdown final : public QDialog {
    Q_OBJECT
public:
    explicit FrmKestoCountdown(RaceContext& ctx, QWidget* parent = nullptr);

    const CountdownSequence& Sequence() const { return m_sequence; }
    QTimer* tmrCountDown() const { return m_timer; }

public slots:
    // One second of the countdown (the timer's tick; tests call it directly).
    void tmrCountDown_Timer();
    void cmdPauseDelay_Click();
    void cmdSkip_Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // The close box and Escape skip the delay too: the start always goes on to
    // the lights, which hand the race back to the main window.
    void reject() override;

private:
    void Finish();

    CountdownSequence m_sequence;
    QLabel* m_lblCountDown;
    QPushButton* m_cmdPauseDelay;
    QPushButton* m_cmdSkip;
    QTimer* m_timer;
};

} // namespace kesto
