#include "display/qt/diag_window.h"

#include "base/qt/logo_picture.h"
#include "display/sensor_check.h"
#include "engine/race_state.h"

#include <QApplication>
#include <QColor>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kesto {
namespace {

constexpr int PollIntervalMs = 200;

// Windows colour values keep red in the low byte.
QColor FromWindowsColor(int32_t value) {
    auto v = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

// Black text on light colours, white on dark ones (a first run has every ID
// black), so the numbers stay readable whatever colours the club chose.
QString CellStyle(int32_t windowsColor) {
    QColor back = FromWindowsColor(windowsColor);
    QColor text = back.lightness() > 140 ? QColor(Qt::black) : QColor(Qt::white);
    return QStringLiteral("QLabel { background-color: %1; color: %2; border: 1px solid gray; }")
        .arg(back.name(), text.name());
}

QLabel* MakeCell(const QString& text, const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumHeight(20);
    return label;
}

} // namespace

FrmKestoDiag::FrmKestoDiag(DecoderPort& port, const PerId<int32_t>& idColors,
                           const std::filesystem::path& programFolder, QWidget* parent)
    : QDialog(parent), m_port(port), m_beep([] { QApplication::beep(); }) {
    setObjectName(QStringLiteral("frmKestoDiag"));
    setWindowTitle(QStringLiteral("  Diagnostic Kesto Timer"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    auto* lblFlag = MakeCell(QStringLiteral("ID"), QStringLiteral("lblFlag"), this);
    auto* label1 = MakeCell(QStringLiteral("Hits"), QStringLiteral("Label1"), this);
    QFont headFont = lblFlag->font();
    headFont.setBold(true);
    lblFlag->setFont(headFont);
    label1->setFont(headFont);
    grid->addWidget(lblFlag, 0, 0);
    grid->addWidget(label1, 0, 1);

    for (int id = 1; id <= MaxCarIds; ++id) {
        QString style = CellStyle(idColors[static_cast<size_t>(id - 1)]);
        m_lane[static_cast<size_t>(id)] =
            MakeCell(QString::number(id), QStringLiteral("lblLaneNumber(%1)").arg(id), this);
        m_hit[static_cast<size_t>(id)] =
            MakeCell(QStringLiteral("0"), QStringLiteral("lblHit(%1)").arg(id), this);
        QLabel* lane = m_lane[static_cast<size_t>(id)];
        QLabel* hit = m_hit[static_cast<size_t>(id)];
        lane->setStyleSheet(style);
        hit->setStyleSheet(style);
        lane->setFixedWidth(48);
        hit->setFixedWidth(72);
        hit->setToolTip(QStringLiteral("Will add at least 1 count when a flag is detected"));
        grid->addWidget(lane, id, 0);
        grid->addWidget(hit, id, 1);
    }
    m_lane[1]->setToolTip(QStringLiteral("Flag closest to Power Plug"));
    for (int id : {6, 11, 14})
        m_lane[static_cast<size_t>(id)]->setToolTip(
            QStringLiteral("Flag furthest from power plug"));

    auto* side = new QVBoxLayout;
    side->addWidget(MakeLogoLabel(programFolder, "imgLapmark", 195, 74, this), 0, Qt::AlignHCenter);
    m_txtDiag = new QPlainTextEdit(this);
    m_txtDiag->setObjectName(QStringLiteral("txtDiag"));
    m_txtDiag->setReadOnly(true);
    m_txtDiag->setPlainText(QString::fromLatin1(DiagHelpText));
    m_txtDiag->setMinimumWidth(210);
    side->addWidget(m_txtDiag, 1);
    m_cmdReset = new QPushButton(QStringLiteral("&Reset"), this);
    m_cmdReset->setObjectName(QStringLiteral("cmdReset"));
    m_cmdReset->setToolTip(QStringLiteral("Reset number of Hits to 0"));
    m_cmdReset->setAutoDefault(false);
    m_cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    m_cmdExit->setToolTip(QStringLiteral("Return to main screen"));
    m_cmdExit->setAutoDefault(false);
    side->addWidget(m_cmdReset);
    side->addWidget(m_cmdExit);

    auto* layout = new QGridLayout(this);
    layout->addLayout(grid, 0, 0);
    layout->addLayout(side, 0, 1);

    connect(m_cmdReset, &QPushButton::clicked, this, &FrmKestoDiag::cmdReset_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &QDialog::close);

    m_tmrDiag = new QTimer(this);
    m_tmrDiag->setObjectName(QStringLiteral("tmrDiag"));
    m_tmrDiag->setInterval(PollIntervalMs);
    connect(m_tmrDiag, &QTimer::timeout, this, &FrmKestoDiag::tmrDiag_Timer);
    m_tmrDiag->start();
}

void FrmKestoDiag::ShowModal(DecoderPort& port, const PerId<int32_t>& idColors,
                             const std::filesystem::path& programFolder, QWidget* parent) {
    FrmKestoDiag window(port, idColors, programFolder, parent);
    window.exec();
}

void FrmKestoDiag::SetBeep(std::function<void()> beep) {
    m_beep = std::move(beep);
}

QLabel* FrmKestoDiag::LaneLabel(int id) const {
    return IsValidId(id) ? m_lane[static_cast<size_t>(id)] : nullptr;
}

QLabel* FrmKestoDiag::HitLabel(int id) const {
    return IsValidId(id) ? m_hit[static_cast<size_t>(id)] : nullptr;
}

void FrmKestoDiag::tmrDiag_Timer() {
    PollSensorCheck(m_port, [this](int id) { CountHit(id); });
}

void FrmKestoDiag::CountHit(int id) {
    // The count lives in the label: its number plus one.
    QLabel* hit = m_hit[static_cast<size_t>(id)];
    hit->setText(QString::number(hit->text().toLongLong() + 1));
    if (m_beep)
        m_beep();
}

void FrmKestoDiag::cmdReset_Click() {
    for (int id = 1; id <= MaxCarIds; ++id)
        m_hit[static_cast<size_t>(id)]->setText(QStringLiteral("0"));
}

void FrmKestoDiag::done(int result) {
    m_tmrDiag->stop();
    m_port.DiscardInput();
    QDialog::done(result);
}

} // namespace kesto
