#include "display/qt/send_command_window.h"

#include "display/qt/one_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace kesto {

FrmSendCommand::FrmSendCommand(RecordWriter writeRecord, QWidget* parent)
    : QWidget(parent, Qt::Window), m_writeRecord(std::move(writeRecord)) {
    setObjectName(QStringLiteral("frmSendCommand"));
    setWindowTitle(QStringLiteral("Send Command"));
    setMouseTracking(true);

    auto* lblInputCommand = new QLabel(QStringLiteral("Input Command:"), this);
    lblInputCommand->setObjectName(QStringLiteral("lblInputCommand"));
    m_txtWrite = new QLineEdit(this);
    m_txtWrite->setObjectName(QStringLiteral("txtWrite"));
    m_txtWrite->setMinimumWidth(220);
    auto* cmdWrite = new QPushButton(QStringLiteral("&Write"), this);
    cmdWrite->setObjectName(QStringLiteral("cmdWrite"));
    // Read has no action: records only ever go into the timer.
    auto* cmdRead = new QPushButton(QStringLiteral("&Read"), this);
    cmdRead->setObjectName(QStringLiteral("cmdRead"));
    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto* lblRead = new QLabel(this);
    lblRead->setObjectName(QStringLiteral("lblRead"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblInputCommand, 0, 0);
    layout->addWidget(m_txtWrite, 0, 1);
    layout->addWidget(lblRead, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdWrite);
    buttons->addWidget(cmdRead);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons, 2, 0, 1, 2);

    connect(cmdWrite, &QPushButton::clicked, this, &FrmSendCommand::cmdWrite_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmSendCommand::cmdOK_Click);
}

FrmSendCommand* FrmSendCommand::ShowModeless(RecordWriter writeRecord, QWidget* parent) {
    if (FrmSendCommand* open = BringOpenWindowToFront<FrmSendCommand>(parent))
        return open;
    auto* window = new FrmSendCommand(std::move(writeRecord), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void FrmSendCommand::cmdWrite_Click() {
    // Handed over exactly as typed: the parser needs no line end.
    if (m_writeRecord)
        m_writeRecord(m_txtWrite->text().toStdString());
}

void FrmSendCommand::cmdOK_Click() {
    close();
}

void FrmSendCommand::mouseMoveEvent(QMouseEvent* event) {
    // Moving over the window restores the default pointer.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QWidget::mouseMoveEvent(event);
}

} // namespace kesto
