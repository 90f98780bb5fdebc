#include "web/qt/live_board_window.h"

#include "web/qt/live_board.h"
#include "web/qt/qr_code.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kesto {

void ApplyLiveBoardSettings(LiveBoard& board, const LiveBoardSettings& settings) {
    if (!settings.on) {
        board.Stop();
        return;
    }
    if (!board.IsOn() || board.Port() < settings.port ||
        board.Port() >= settings.port + LiveBoard::PortsTried)
        board.Start(static_cast<quint16>(settings.port));
}

LiveBoardWindow::LiveBoardWindow(LiveBoard& board, std::filesystem::path programFolder,
                                 QWidget* parent)
    : QDialog(parent), m_board(board), m_folder(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmLiveBoard"));
    setWindowTitle(QStringLiteral("Live Board"));
    const LiveBoardSettings settings = ReadLiveBoardSettings(m_folder);

    m_on = new QCheckBox(QStringLiteral("Show the live board on the club's network"), this);
    m_on->setObjectName(QStringLiteral("onCheckBox"));
    m_on->setChecked(settings.on);
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("portSpinBox"));
    m_port->setRange(1024, 65535);
    m_port->setValue(settings.port);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setWordWrap(true);
    m_address = new QLabel(this);
    m_address->setObjectName(QStringLiteral("addressLabel"));
    m_address->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_address->setOpenExternalLinks(true);
    m_qr = new QLabel(this);
    m_qr->setObjectName(QStringLiteral("qrLabel"));
    m_qr->setAlignment(Qt::AlignCenter);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Port:"), m_port);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_on);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addWidget(m_address);
    layout->addWidget(m_qr);
    layout->addWidget(m_note);
    layout->addWidget(buttons);

    connect(m_on, &QCheckBox::toggled, this, &LiveBoardWindow::Chosen);
    connect(m_port, &QSpinBox::editingFinished, this, &LiveBoardWindow::Chosen);
    connect(&m_board, &LiveBoard::PortChanged, this, &LiveBoardWindow::Refresh);
    connect(&m_board, &LiveBoard::BrowsersChanged, this, &LiveBoardWindow::Refresh);
    Refresh();
}

LiveBoardWindow* LiveBoardWindow::ShowModeless(QPointer<LiveBoardWindow>& window, LiveBoard& board,
                                               const std::filesystem::path& programFolder,
                                               QWidget* parent) {
    if (!window)
        window = new LiveBoardWindow(board, programFolder, parent);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void LiveBoardWindow::Chosen() {
    const LiveBoardSettings settings{m_on->isChecked(), m_port->value()};
    std::string error;
    m_saveError =
        WriteLiveBoardSettings(m_folder, settings, &error)
            ? QString()
            : QStringLiteral("The choice could not be saved in %1: %2")
                  .arg(QString::fromLatin1(LiveBoardFileName), QString::fromStdString(error));
    ApplyLiveBoardSettings(m_board, settings);
    Refresh();
}

void LiveBoardWindow::Refresh() {
    QString status;
    if (!m_board.IsOn()) {
        status = m_on->isChecked()
                     ? QStringLiteral("No free port from %1 to %2: the live board is off.")
                           .arg(m_port->value())
                           .arg(m_port->value() + LiveBoard::PortsTried - 1)
                     : QStringLiteral("Off: the timer opens no port.");
        m_address->clear();
        m_qr->clear();
        m_note->clear();
    } else {
        if (m_board.Port() != m_port->value())
            status = QStringLiteral("Port %1 is taken: the live board is on port %2. ")
                         .arg(m_port->value())
                         .arg(m_board.Port());
        const int browsers = m_board.Browsers();
        status += browsers == 1 ? QStringLiteral("On: 1 browser watching.")
                                : QStringLiteral("On: %1 browsers watching.").arg(browsers);
        const QStringList addresses = m_board.Addresses();
        QString links;
        for (const QString& address : addresses)
            links += QStringLiteral("<a href=\"%1\">%1</a><br>").arg(address.toHtmlEscaped());
        m_address->setText(links);
        m_qr->setPixmap(QPixmap::fromImage(QrCodeImage(addresses.value(0))));
        m_note->setText(
            QStringLiteral("Phones and the TV must be on the same network as this computer; a "
                           "firewall on it must let TCP port %1 in. Add \"tv\" for the TV "
                           "layout (%2tv).")
                .arg(m_board.Port())
                .arg(addresses.value(0)));
    }
    if (!m_saveError.isEmpty())
        status += QStringLiteral("\n") + m_saveError;
    m_status->setText(status);
}

} // namespace kesto
