#include "engine/qt/countdown_window.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kesto {

FrmKestoCountdown::FrmKestoCountdown(RaceContext& ctx, QWidget* parent)
    : QDialog(parent), m_sequence(ctx), m_lblCountDown(new QLabel(this)),
      m_cmdPauseDelay(new QPushButton(this)), m_cmdSkip(new QPushButton(this)),
      m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("frmKestoCountdown"));
    setWindowTitle(QStringLiteral("  Lapmark Timer Delay"));
    setModal(true);

    m_lblCountDown->setObjectName(QStringLiteral("lblCountDown"));
    m_lblCountDown->setAlignment(Qt::AlignCenter);
    QFont big = m_lblCountDown->font();
    big.setPointSize(48);
    big.setBold(true);
    m_lblCountDown->setFont(big);
    m_lblCountDown->setMinimumSize(260, 110);
    m_lblCountDown->setText(QString::number(m_sequence.Shown()));
    m_lblCountDown->setToolTip(
        QStringLiteral("Click here, press Enter or the space bar to skip the delay"));

    m_cmdPauseDelay->setObjectName(QStringLiteral("cmdPauseDelay"));
    m_cmdPauseDelay->setText(QString::fromUtf8(m_sequence.PauseButtonCaption()));
    m_cmdPauseDelay->setAutoDefault(false);
    m_cmdSkip->setObjectName(QStringLiteral("cmdSkip"));
    m_cmdSkip->setText(QStringLiteral("&Skip Delay"));
    m_cmdSkip->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdPauseDelay);
    buttons->addWidget(m_cmdSkip);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblCountDown);
    layout->addLayout(buttons);

    connect(m_cmdPauseDelay, &QPushButton::clicked, this, &FrmKestoCountdown::cmdPauseDelay_Click);
    connect(m_cmdSkip, &QPushButton::clicked, this, &FrmKestoCountdown::cmdSkip_Click);

    m_timer->setObjectName(QStringLiteral("tmrCountDown"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &FrmKestoCountdown::tmrCountDown_Timer);
    m_timer->start();
    m_cmdSkip->setFocus();
}

void FrmKestoCountdown::tmrCountDown_Timer() {
    if (m_sequence.Finished())
        return;
    m_lblCountDown->setText(QString::number(m_sequence.Tick()));
    if (m_sequence.Finished())
        Finish();
}

void FrmKestoCountdown::cmdPauseDelay_Click() {
    if (m_sequence.Finished())
        return;
    m_sequence.TogglePause();
    if (m_sequence.Paused())
        m_timer->stop();
    else
        m_timer->start();
    m_cmdPauseDelay->setText(QString::fromUtf8(m_sequence.PauseButtonCaption()));
}

void FrmKestoCountdown::cmdSkip_Click() {
    m_sequence.Skip();
    Finish();
}

void FrmKestoCountdown::mousePressEvent(QMouseEvent* event) {
    // Clicks on lblCountDown arrive here too: the label does not take them.
    if (event->button() == Qt::LeftButton)
        cmdSkip_Click();
    else
        QDialog::mousePressEvent(event);
}

void FrmKestoCountdown::reject() {
    cmdSkip_Click();
}

void FrmKestoCountdown::Finish() {
    m_timer->stop();
    accept(); // the launcher shows the start lights next
}

} // namespace kesto
