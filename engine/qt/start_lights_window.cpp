#include "engine/qt/start_lights_window.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace kesto {

namespace {

QColor FromWindowsColor(int32_t value) {
    auto v = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

constexpr int LightDiameter = 90;

} // namespace

StartLight::StartLight(QWidget* parent) : QWidget(parent), m_color(Qt::darkGray) {
    setFixedSize(LightDiameter + 10, LightDiameter + 10);
}

void StartLight::SetColor(const QColor& color) {
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void StartLight::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(m_color);
    painter.drawEllipse(rect().adjusted(5, 5, -5, -5));
}

FrmKestoFormula1::FrmKestoFormula1(RaceContext& ctx, StartSequenceHost& host, QWidget* parent)
    : QDialog(parent), m_sequence(ctx, host), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("frmKestoFormula1"));
    setWindowTitle(QStringLiteral("  Lapmark Timer Start"));
    setModal(true);
    setPalette(QPalette(Qt::black));
    setAutoFillBackground(true);

    auto* layout = new QHBoxLayout(this);
    for (size_t i = 0; i < m_lights.size(); ++i) {
        m_lights[i] = new StartLight(this);
        m_lights[i]->setObjectName(QStringLiteral("Shape1_%1").arg(i));
        layout->addWidget(m_lights[i]);
    }
    ShowLights();

    m_timer->setObjectName(QStringLiteral("tmrRandom"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &FrmKestoFormula1::tmrRandom_Timer);
    m_timer->start();
}

QColor FrmKestoFormula1::LightColorOf(LightColor light) {
    switch (light) {
    case LightColor::Red:
        return FromWindowsColor(255);
    case LightColor::Green:
        return FromWindowsColor(65280);
    case LightColor::Off:
        break;
    }
    return QColor(Qt::darkGray);
}

void FrmKestoFormula1::tmrRandom_Timer() {
    if (m_sequence.Closed())
        return;
    m_sequence.Tick();
    ShowLights();
    if (m_sequence.Closed()) {
        m_timer->stop();
        accept();
    }
}

void FrmKestoFormula1::mousePressEvent(QMouseEvent* event) {
    // Clicks on the lights arrive here too: they do not take mouse presses.
    if (event->button() == Qt::LeftButton)
        m_sequence.Click();
    QDialog::mousePressEvent(event);
}

void FrmKestoFormula1::ShowLights() {
    for (size_t i = 0; i < m_lights.size(); ++i)
        m_lights[i]->SetColor(LightColorOf(m_sequence.Lights()[i]));
}

} // namespace kesto
